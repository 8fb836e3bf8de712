// The "Card Detail" window of a deck's card: how many times the card stands in the deck and the
// values of its properties, one property list at a time.
#pragma once

#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Lists.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace wizard {

class MainForm;

class CardDetailForm {
  public:
    explicit CardDetailForm(MainForm& editor);
    ~CardDetailForm();
    CardDetailForm(const CardDetailForm&) = delete;
    CardDetailForm& operator=(const CardDetailForm&) = delete;

    // Opens the window on the selected entry of the card list, modal or beside the editor.
    void Open(bool modal);
    // Chooses a property list by name and shows the card's values for it.
    void ChooseList(const std::string& name);
    // Puts the count and the values into the card entry and its properties, then closes.
    void Update();

    platform::Form form_;
    std::unique_ptr<platform::Label> Label1;
    std::unique_ptr<platform::TextBox> CrdX;
    std::unique_ptr<platform::CommandButton> UpdateBtn, ShowBtn;
    std::unique_ptr<platform::Frame> propFrame;
    std::unique_ptr<platform::ComboBox> pListNames;
    std::array<std::unique_ptr<platform::Label>, 6> lbl;
    std::array<std::unique_ptr<platform::TextBox>, 6> pName;

  private:
    MainForm& editor_;
    std::unique_ptr<platform::Label> countLabel_;
    int entry_ = -1; // the card list entry the window opened on
    long id_ = 0;
};

// The "name=value" pairs of a properties text with the values of `names` set: a name with a value
// replaces its pair or is added, a name without one loses its pair; other pairs stay in place.
std::string MergeProperties(const std::string& properties, const std::vector<std::string>& names,
                            const std::vector<std::string>& values);

} // namespace wizard
