// A table view for tests: it answers from what the test sets and records what the model tells
// it. It is the view in use while it lives.
#pragma once

#include "state/TableView.h"

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

class RecordingView : public TableView {
  public:
    using Control = std::pair<int, int>; // kind, control index

    RecordingView() : previous_(SetTableView(this)) {}
    ~RecordingView() override { SetTableView(previous_); }
    RecordingView(const RecordingView&) = delete;
    RecordingView& operator=(const RecordingView&) = delete;

    // Answers for CardControlPicture and ControlExists.
    std::function<std::optional<CardPictureRect>(int control)> pictures;
    std::set<Control> missing; // every control exists but these

    std::vector<Control> broughtToFront;
    std::vector<int> areasChanged;
    std::vector<std::string> copyrightPictures;
    std::vector<int> shuffledDecks;

    std::optional<CardPictureRect> CardControlPicture(int control) override {
        return pictures ? pictures(control) : std::nullopt;
    }
    bool ControlExists(std::int16_t kind, std::int16_t control) override {
        return missing.count({kind, control}) == 0;
    }
    void BringControlToFront(std::int16_t kind, std::int16_t control) override {
        broughtToFront.emplace_back(kind, control);
    }
    void PlayerAreaChanged(int area) override { areasChanged.push_back(area); }
    void ShowCopyrightPicture(const std::string& path) override { copyrightPictures.push_back(path); }
    void DeckShuffled(std::int16_t deck) override { shuffledDecks.push_back(deck); }

  private:
    TableView* previous_;
};
