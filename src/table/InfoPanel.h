// The information panel at the table window's right edge: a zoomed picture and the description of
// the card under the mouse, and, when hands are kept in the hand window, one label per seat with
// its hand's size and a row of card icons. The [INFOPANEL] keys switch the parts on.
#pragma once

#include "state/TableState.h"

#include <cstdint>
#include <string>

struct InfoPanelSettingsRecord {
    std::int16_t width = 0; // twips; 0: no panel
    Flag showZoom = kFalse;
    Flag showInfo = kFalse;
    Flag showToolbar = kFalse;
    Flag showHandSize = kFalse;
    std::int16_t handTop = 0;
    std::int16_t handLeft = 0;
    std::string handColour;
    Flag hideHandIcons = kFalse;
    std::string background;
    std::int16_t cardInfoPosY = 0;
    std::int16_t maxHeightForCardInfo = 0;
    std::int16_t minHeightForCardInfo = 0;
};

// Read once per game, while the table's look is set up.
extern InfoPanelSettingsRecord InfoPanelSettings;

void ReadInfoPanelSettings(const std::string& file);
// Shows or hides the panel and places its parts for the window's present size.
void LayoutInfoPanel();
// Fills the panel for the card under the mouse; what another seat keeps hidden stays hidden.
void ShowCardInfo(std::int16_t card);
void DrawHandIcons();
// Places the table window's eight buttons in two rows at the panel's foot.
void LayoutToolBar();
void UpdateHandSizeCaptions();

// The most card icons shown after a seat's hand label.
constexpr int kHandIcons = 12;
