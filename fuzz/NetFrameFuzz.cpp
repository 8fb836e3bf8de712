// The cutting of received bytes into direct-play messages. Input: the first byte sets the length
// limit (1 to 256; an odd byte also lets the game's record, "DECKDATA" and "DECKDATALD", reach four
// times the limit), the second the piece size (1 to 256); the rest is the byte stream. Fed in
// pieces, the stream gives the same messages as fed whole, none longer than its limit and none
// holding a terminator; and every message splits into fields that join back into it.
#include "FuzzSupport.h"

#include "net/NetSocket.h"

#include <algorithm>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t limit = 1 + data[0];
    const std::size_t piece = 1 + data[1];
    const std::string_view stream(reinterpret_cast<const char*>(data) + 2, size - 2);

    NetFrameReader whole, pieces;
    whole.SetLimit(limit);
    pieces.SetLimit(limit);
    if (data[0] % 2) {
        whole.SetLongLimit(4 * limit, {"DECKDATA", "DECKDATALD"});
        pieces.SetLongLimit(4 * limit, {"DECKDATA", "DECKDATALD"});
    }
    whole.Feed(stream);
    for (std::size_t at = 0; at < stream.size(); at += piece)
        pieces.Feed(stream.substr(at, std::min(piece, stream.size() - at)));

    while (whole.HasMessage()) {
        fuzzsupport::Check(pieces.HasMessage(), "as many messages in pieces as whole");
        const std::string message = whole.TakeMessage();
        fuzzsupport::Check(pieces.TakeMessage() == message, "the same messages in pieces as whole");
        fuzzsupport::Check(message.size() <= whole.LimitOf(message), "no message over its limit");
        fuzzsupport::Check(message.size() <= limit || message.rfind("DECKDATA", 0) == 0 ||
                               std::string_view("DECKDATALD").starts_with(message),
                           "only the game's record exceeds the limit");
        fuzzsupport::Check(message.find(kNetTerminator) == std::string::npos, "no terminator inside");
        const NetCommand command = ParseNetMessage(message);
        const std::optional<std::string> rebuilt = BuildNetMessage(command.word, command.fields);
        fuzzsupport::Check(rebuilt && *rebuilt == message, "fields join back into the message");
    }
    fuzzsupport::Check(!pieces.HasMessage(), "no more messages in pieces than whole");
    fuzzsupport::Check(whole.Dropped() == pieces.Dropped(), "as many dropped in pieces as whole");
    return 0;
}
