// The message box every part of both programs reports through.
#pragma once

#include <string>

// Shows a text in a modal message box with an OK button; returns when it is closed.
void ShowMsg(const std::string& text);
