#include "TableTestSupport.h"

#include "platform/Picture.h"

#include <filesystem>

namespace tabletest {

TableFixture::TableFixture() {
    Model().Reset();
    for (const char* name : {"back.png", "empty.png"})
        WritePicture(name);
    for (int k = 1; k <= 12; ++k)
        WritePicture("f" + std::to_string(k) + ".png");
    table_ = std::make_unique<MainForm>();
}

TableFixture::~TableFixture() {
    table_.reset();
    Model().Reset();
}

void TableFixture::WritePicture(const std::string& name, int width, int height) const {
    std::filesystem::create_directories(folder_.Path() + "/img");
    platform::Picture picture(width, height,
                              platform::MakeColour(20 * static_cast<int>(name.size()), 120, 200));
    picture.SaveAsPng(folder_.Path() + "/img/" + name);
}

std::string TableFixture::GameFile() const {
    return folder_.Path() + "\\test.game";
}

bool TableFixture::Start(const std::string& definition, std::int16_t seat) {
    folder_.Write("test.game", definition);
    Game.CurrentPlayer = seat;
    return SetUpNewGame(*table_, GameFile());
}

std::int16_t DealtCardOf(std::int16_t seat) {
    std::int16_t found = 0;
    for (int card = 1; card <= Game.totalCards; ++card)
        if (Cards[card].controlIndex >= 0 && Cards[card].owner == seat)
            found = static_cast<std::int16_t>(card);
    return found;
}

int PictureLeft(const controls::TranspImg& card) {
    return card.Surface().Left() + card.GetOriginLeft();
}

int PictureTop(const controls::TranspImg& card) {
    return card.Surface().Top() + card.GetOriginTop();
}

} // namespace tabletest
