// A top-level window of the program (a form), as thin as the engine needs it.
#pragma once

#include <memory>
#include <string>

namespace platform {

class Form {
  public:
    Form();
    ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    void SetCaption(const std::string& caption);
    std::string Caption() const;
    // Size in twips.
    void Resize(int widthTwips, int heightTwips);
    void Show();
    void Hide();
    bool Visible() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace platform
