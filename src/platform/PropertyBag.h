// The property store a form keeps for each of its controls: one value per key, keys matched
// without regard to case. A value is written together with its default and is not stored when it
// equals it, so that reading with the same default gives it back.
#pragma once

#include "platform/Fonts.h"
#include "platform/Picture.h"

#include <cstdint>
#include <map>
#include <string>
#include <variant>

namespace platform {

class PropertyBag {
  public:
    using Value = std::variant<std::int64_t, double, std::string, Picture, Font>;

    bool Has(const std::string& key) const;

    std::int64_t ReadInt(const std::string& key, std::int64_t defaultValue) const;
    double ReadDouble(const std::string& key, double defaultValue) const;
    std::string ReadText(const std::string& key, const std::string& defaultValue) const;
    Picture ReadPicture(const std::string& key) const;
    Font ReadFont(const std::string& key, const Font& defaultValue) const;

    void WriteInt(const std::string& key, std::int64_t value, std::int64_t defaultValue);
    // Written whatever its value (for keys that have no default).
    void WriteInt(const std::string& key, std::int64_t value);
    void WriteDouble(const std::string& key, double value, double defaultValue);
    void WriteText(const std::string& key, const std::string& value, const std::string& defaultValue);
    // An empty picture is not stored.
    void WritePicture(const std::string& key, const Picture& value);
    void WriteFont(const std::string& key, const Font& value, const Font& defaultValue);

  private:
    const Value* Find(const std::string& key) const;
    void Put(const std::string& key, Value value);
    void Erase(const std::string& key);

    std::map<std::string, Value> values_; // by upper-cased key
};

} // namespace platform
