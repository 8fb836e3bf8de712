#include "platform/PropertyBag.h"

#include "platform/Codec.h"

namespace platform {

namespace {

bool SameFont(const Font& a, const Font& b) {
    return AnsiEqualNoCase(a.name, b.name) && a.size == b.size && a.bold == b.bold && a.italic == b.italic &&
           a.underline == b.underline && a.strikethrough == b.strikethrough;
}

} // namespace

const PropertyBag::Value* PropertyBag::Find(const std::string& key) const {
    auto it = values_.find(AnsiUpper(key));
    return it == values_.end() ? nullptr : &it->second;
}
void PropertyBag::Put(const std::string& key, Value value) {
    values_[AnsiUpper(key)] = std::move(value);
}
void PropertyBag::Erase(const std::string& key) {
    values_.erase(AnsiUpper(key));
}

bool PropertyBag::Has(const std::string& key) const {
    return Find(key) != nullptr;
}

std::int64_t PropertyBag::ReadInt(const std::string& key, std::int64_t defaultValue) const {
    const Value* v = Find(key);
    if (v && std::holds_alternative<std::int64_t>(*v)) return std::get<std::int64_t>(*v);
    if (v && std::holds_alternative<double>(*v)) return static_cast<std::int64_t>(std::get<double>(*v));
    return defaultValue;
}
double PropertyBag::ReadDouble(const std::string& key, double defaultValue) const {
    const Value* v = Find(key);
    if (v && std::holds_alternative<double>(*v)) return std::get<double>(*v);
    if (v && std::holds_alternative<std::int64_t>(*v)) return static_cast<double>(std::get<std::int64_t>(*v));
    return defaultValue;
}
std::string PropertyBag::ReadText(const std::string& key, const std::string& defaultValue) const {
    const Value* v = Find(key);
    return v && std::holds_alternative<std::string>(*v) ? std::get<std::string>(*v) : defaultValue;
}
Picture PropertyBag::ReadPicture(const std::string& key) const {
    const Value* v = Find(key);
    return v && std::holds_alternative<Picture>(*v) ? std::get<Picture>(*v) : Picture();
}
Font PropertyBag::ReadFont(const std::string& key, const Font& defaultValue) const {
    const Value* v = Find(key);
    return v && std::holds_alternative<Font>(*v) ? std::get<Font>(*v) : defaultValue;
}

void PropertyBag::WriteInt(const std::string& key, std::int64_t value, std::int64_t defaultValue) {
    if (value == defaultValue)
        Erase(key);
    else
        Put(key, value);
}
void PropertyBag::WriteInt(const std::string& key, std::int64_t value) {
    Put(key, value);
}
void PropertyBag::WriteDouble(const std::string& key, double value, double defaultValue) {
    if (value == defaultValue)
        Erase(key);
    else
        Put(key, value);
}
void PropertyBag::WriteText(const std::string& key, const std::string& value,
                            const std::string& defaultValue) {
    if (value == defaultValue)
        Erase(key);
    else
        Put(key, value);
}
void PropertyBag::WritePicture(const std::string& key, const Picture& value) {
    if (value.IsEmpty())
        Erase(key);
    else
        Put(key, value);
}
void PropertyBag::WriteFont(const std::string& key, const Font& value, const Font& defaultValue) {
    if (SameFont(value, defaultValue))
        Erase(key);
    else
        Put(key, value);
}

} // namespace platform
