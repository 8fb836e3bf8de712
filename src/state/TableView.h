// What the model asks of the table window and tells it: where a card control's picture lies, the
// stacking of the controls, a seat area that changed, the copyright picture, a shuffled deck.
// The table window implements it; without one a do-nothing view answers, so that the model runs
// and is tested without windows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// A card control's picture as drawn (after zoom and rotation), in twips.
struct CardPictureRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Where a new image marker's picture lies, in twips (its control is a larger frame around it):
// the place the other side's new marker is given.
struct MarkerPlace {
    int left = 0;
    int top = 0;
};

// Kinds of control, as the stacking order numbers them: 1 `crd` (by control index), 2
// `markerNum`, 3 `mrk`.
class TableView {
  public:
    virtual ~TableView() = default;

    // The picture rectangle of table card control `control`; nothing when that control does not
    // exist. Without a table no card lies on it.
    virtual std::optional<CardPictureRect> CardControlPicture(int control);

    // Whether a control of a kind is loaded, and bringing it in front of the others.
    virtual bool ControlExists(std::int16_t kind, std::int16_t control);
    virtual void BringControlToFront(std::int16_t kind, std::int16_t control);

    // Seat area `area` (0 to 6) changed its place, size or outline, so its shape follows.
    virtual void PlayerAreaChanged(int area);

    // Shows a picture file in the modal copyright window.
    virtual void ShowCopyrightPicture(const std::string& path);

    // A deck's draw order changed outside a table action. The table window, which holds the
    // connection, passes it on with SendDeckShuffle; the model itself knows nothing of direct play.
    virtual void DeckShuffled(std::int16_t deck);

    // Loads an image marker of a kind for a seat at x, y twips (-1, -1: the marker's default
    // place), flagged as placed by the dice when asked; where its control lies, nothing when no
    // table shows it.
    virtual std::optional<MarkerPlace> PlaceImageMarker(std::int16_t kind, std::int16_t owner, int x, int y,
                                                        bool dicePlaced);

    // The local player rolled a die (markerKind -1 when the roll placed no marker). The table
    // window passes the roll on in direct play, and the marker the roll placed with it.
    virtual void DiceRolled(std::int16_t die, const std::string& text, std::int16_t markerKind,
                            std::int16_t markerOwner, const std::optional<MarkerPlace>& marker);
};

// The view in use: the table window's, or the do-nothing one.
TableView& View();

// Installs a view (nullptr: the do-nothing one again) and returns the one it replaced. The view
// is not owned: whoever installs it takes it out before it goes.
TableView* SetTableView(TableView* view);
