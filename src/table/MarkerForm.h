// The marker picker: a tool window whose side bar lists the image-marker kinds a seat may place,
// the seat's own, those of the groups it belongs to and the program-wide ones. A double click on
// an item places a marker of that kind for the local seat.
#pragma once

#include "controls/zBar.h"
#include "platform/Form.h"

#include <cstdint>
#include <memory>
#include <string>

class MarkerForm {
  public:
    MarkerForm();
    ~MarkerForm();
    MarkerForm(const MarkerForm&) = delete;
    MarkerForm& operator=(const MarkerForm&) = delete;

    platform::Form& Window() { return form_; }
    controls::zBar& markerBar() { return *markerBar_; }

    // Unloads the window and loads it again with an empty bar.
    void Reload();

  private:
    void Form_Resize();
    void markerBar_ImageSelected(std::int16_t id);

    platform::Form form_;
    std::unique_ptr<controls::zBar> markerBar_;
};

// The seat (as text) whose kinds the picker lists, for the tool bar's marker list.
std::string& MarkerListOwner();

// Rebuilds the picker for a seat and shows it; a picker already shown during play is only
// brought to the front.
void FillMarkerList(std::int16_t player);

// The table window's picker; nullptr without a table window.
MarkerForm* MarkerPicker();
