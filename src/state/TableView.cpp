#include "state/TableView.h"

std::optional<CardPictureRect> TableView::CardControlPicture(int) {
    return std::nullopt;
}

bool TableView::ControlExists(std::int16_t, std::int16_t) {
    return false;
}

void TableView::BringControlToFront(std::int16_t, std::int16_t) {}

void TableView::PlayerAreaChanged(int) {}

void TableView::ShowCopyrightPicture(const std::string&) {}

void TableView::DeckShuffled(std::int16_t) {}

std::optional<MarkerPlace> TableView::PlaceImageMarker(std::int16_t, std::int16_t, int, int, bool) {
    return std::nullopt;
}

void TableView::DiceRolled(std::int16_t, const std::string&, std::int16_t, std::int16_t,
                           const std::optional<MarkerPlace>&) {}

namespace {

TableView g_noView;
TableView* g_view = nullptr;

} // namespace

TableView& View() {
    return g_view ? *g_view : g_noView;
}

TableView* SetTableView(TableView* view) {
    TableView* previous = g_view;
    g_view = view;
    return previous;
}
