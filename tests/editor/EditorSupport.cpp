#include "EditorSupport.h"

#include <filesystem>

namespace editortest {

bool Editor::Exists(const std::string& name) const {
    return std::filesystem::exists(folder.Path() + "/" + name);
}

} // namespace editortest
