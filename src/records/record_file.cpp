// A saved file of records, mapped and scanned once for where each record's text stands; each
// record is then parsed on its own, and later read again from the file by the archive.
#include "record_file.h"

#include "record_json.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <system_error>
#include <thread>

namespace velkaran {
namespace {

using TSpan = std::pair<uint64_t, uint64_t>;

// A file mapped for reading while the records are read.
class TMapping {
public:
    TMapping(int Fd, std::size_t Size)
        : Size(Size), Data(Size > 0 ? mmap(nullptr, Size, PROT_READ, MAP_PRIVATE, Fd, 0) : MAP_FAILED) {}
    ~TMapping() {
        if (Data != MAP_FAILED) munmap(Data, Size);
    }
    TMapping(const TMapping &) = delete;
    TMapping &operator=(const TMapping &) = delete;
    bool Mapped() const { return Data != MAP_FAILED; }
    std::string_view Text() const { return {static_cast<const char *>(Data), Size}; }

private:
    std::size_t Size;
    void *Data;
};

// Closes a descriptor that nobody took.
struct TDescriptor {
    int Fd;
    ~TDescriptor() {
        if (Fd >= 0) close(Fd);
    }
};

// "строка 3, столбец 17": where byte Offset of Text stands, columns counted in characters.
std::string Position(std::string_view Text, uint64_t Offset) {
    Offset = std::min<uint64_t>(Offset, Text.size());
    const std::string_view Before = Text.substr(0, Offset);
    const auto Line = 1 + std::count(Before.begin(), Before.end(), '\n');
    const std::size_t LineStart = Before.rfind('\n') == std::string_view::npos ? 0 : Before.rfind('\n') + 1;
    int64_t Column = 1;
    for (std::size_t I = LineStart; I < Offset; ++I)
        Column += (static_cast<unsigned char>(Text[I]) & 0xC0) != 0x80;
    return "строка " + std::to_string(Line) + ", столбец " + std::to_string(Column);
}

// Where the records of a document stand: the elements of its top-level "games" array.
struct TLayout {
    bool HasGames = false;
    uint64_t GamesOpen = 0;   // the '[' of "games"
    uint64_t GamesClose = 0;  // its ']'
    std::vector<TSpan> Records;
};

// Scans Text, a JSON object, for its records without parsing them (the parser checks each record
// and the rest of the document afterwards). False with the offset of the first byte that cannot
// belong to such a document: a top level that is no object, a game that is no object, brackets
// that never close.
bool Scan(std::string_view Text, TLayout &Layout, uint64_t &BadAt) {
    int64_t Depth = 0;
    bool InString = false;
    uint64_t StringBegin = 0;
    std::string_view LastString;  // the last string of the top level: a key once ':' follows
    bool GamesKey = false;        // the value that follows is that of "games"
    bool InGames = false;
    uint64_t Element = 0;
    for (uint64_t I = 0; I < Text.size(); ++I) {
        const char C = Text[I];
        if (InString) {
            if (C == '\\') {
                ++I;
            } else if (C == '"') {
                InString = false;
                if (Depth == 1) LastString = Text.substr(StringBegin, I - StringBegin);
            }
            continue;
        }
        switch (C) {
            case ' ':
            case '\t':
            case '\n':
            case '\r':
                break;
            case '"':
                if (Depth == 0 || (InGames && Depth == 2)) return (BadAt = I, false);
                InString = true;
                StringBegin = I + 1;
                break;
            case ':':
                if (Depth == 1) GamesKey = LastString == "games";
                break;
            case ',':
                if (Depth == 1) GamesKey = false;
                break;
            case '{':
            case '[':
                if (Depth == 0 && C != '{') return (BadAt = I, false);
                if (Depth == 1 && C == '[' && GamesKey) {
                    InGames = true;
                    Layout = {true, I, 0, {}};
                } else if (InGames && Depth == 2) {
                    if (C != '{') return (BadAt = I, false);
                    Element = I;
                }
                ++Depth;
                break;
            case '}':
            case ']':
                if (--Depth < 0) return (BadAt = I, false);
                if (InGames && Depth == 2) Layout.Records.emplace_back(Element, I + 1);
                if (InGames && Depth == 1) {
                    InGames = false;
                    Layout.GamesClose = I;
                }
                if (Depth == 0) return true;  // the parser of the rest judges what follows
                break;
            default:
                if (Depth == 0 || (InGames && Depth == 2)) return (BadAt = I, false);
                break;
        }
    }
    BadAt = Text.size();
    return false;
}

// Parses Text as JSON; on a syntax error, nothing, with the offset of the byte at fault.
std::optional<nlohmann::json> Parse(std::string_view Text, uint64_t &BadAt) {
    try {
        return nlohmann::json::parse(Text.begin(), Text.end());
    } catch (const nlohmann::json::parse_error &Bad) {
        BadAt = Bad.byte > 0 ? Bad.byte - 1 : 0;
        return std::nullopt;
    }
}

// What reading one record gave: the record, or why not.
struct TRead {
    std::optional<TGameRecord> Record;
    std::string Why;
    int64_t SyntaxAt = -1;
};

// Reads the records at Spans[Begin, End) of Text into Out, each at its index minus Begin.
void ReadSpans(std::string_view Text, const std::vector<TSpan> &Spans, std::size_t Begin, std::size_t End,
               std::vector<TRead> &Out) {
    for (std::size_t Index = Begin; Index < End; ++Index) {
        const auto [From, To] = Spans[Index];
        TRead &Read = Out[Index - Begin];
        Read.Record = RecordFromText(Text.substr(From, To - From), Read.Why, Read.SyntaxAt);
    }
}

// Reads every record of Text at Spans and hands each to OnRecord in order. Records are parsed a
// block at a time, the block shared out among the processors, so that a large document opens in a
// fraction of the time one thread would take; OnRecord is called from the calling thread only.
// The index of the first record that cannot be read, with Why and SyntaxAt as RecordFromText gives.
std::optional<std::size_t> ReadRecords(std::string_view Text, const std::vector<TSpan> &Spans,
                                       const std::function<void(const TGameRecord &)> &OnRecord,
                                       std::string &Why, int64_t &SyntaxAt) {
    constexpr std::size_t BlockSize = 1024;
    const std::size_t Helpers = std::min(3U, std::max(1U, std::thread::hardware_concurrency()) - 1);
    for (std::size_t Begin = 0; Begin < Spans.size(); Begin += BlockSize) {
        const std::size_t End = std::min(Spans.size(), Begin + BlockSize);
        const std::size_t Shares = std::min(Helpers + 1, (End - Begin + 63) / 64);
        const std::size_t Share = (End - Begin + Shares - 1) / Shares;
        std::vector<std::thread> Others;
        Others.reserve(Shares);
        std::vector<std::vector<TRead>> Parts(Shares);
        for (std::size_t Part = 1; Part < Shares; ++Part) {
            const std::size_t From = std::min(End, Begin + Part * Share), To = std::min(End, From + Share);
            Parts[Part].resize(To - From);
            try {
                Others.emplace_back(ReadSpans, Text, std::cref(Spans), From, To, std::ref(Parts[Part]));
            } catch (const std::system_error &) {
                ReadSpans(Text, Spans, From, To, Parts[Part]);  // no thread to be had: read it here
            }
        }
        Parts[0].resize(std::min(End - Begin, Share));
        ReadSpans(Text, Spans, Begin, Begin + Parts[0].size(), Parts[0]);
        for (std::thread &Other : Others) Other.join();
        std::size_t Index = Begin;
        for (std::vector<TRead> &Part : Parts)
            for (TRead &Read : Part) {
                if (!Read.Record) {
                    Why = std::move(Read.Why);
                    SyntaxAt = Read.SyntaxAt;
                    return Index;
                }
                if (OnRecord) OnRecord(*Read.Record);
                ++Index;
            }
    }
    return std::nullopt;
}

}  // namespace

std::shared_ptr<TRecordArchive> OpenRecordFile(const std::string &Path, nlohmann::json &Rest,
                                               const std::function<void(const TGameRecord &)> &OnRecord,
                                               std::string &Error) {
    const int Fd = open(Path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat File {};
    if (Fd < 0 || fstat(Fd, &File) != 0) {
        Error = std::string("файл не открывается: ") + std::strerror(errno);
        if (Fd >= 0) close(Fd);
        return nullptr;
    }
    TDescriptor Owned{Fd};  // handed to the archive at the end
    if (S_ISDIR(File.st_mode)) {
        Error = "это папка, а не файл";
        return nullptr;
    }
    if (File.st_size == 0) {
        Error = "файл пуст";
        return nullptr;
    }
    const TMapping Mapping(Fd, static_cast<std::size_t>(File.st_size));
    if (!Mapping.Mapped()) {
        Error = std::string("файл не читается: ") + std::strerror(errno);
        return nullptr;
    }
    const std::string_view Text = Mapping.Text();
    const auto NotJson = [&Text, &Error](uint64_t At) {
        Error = "файл не является документом JSON с записями игр (" + Position(Text, At) + ")";
        return nullptr;
    };

    TLayout Layout;
    uint64_t BadAt = 0;
    const std::size_t First = Text.find_first_not_of(" \t\r\n");
    if (!Scan(Text, Layout, BadAt)) return NotJson(BadAt);
    if (Layout.HasGames) {
        // The document without its games: small, whatever their number.
        const uint64_t Cut = Layout.GamesClose - Layout.GamesOpen - 1;
        std::string Outside(Text.substr(0, Layout.GamesOpen + 1));
        Outside += Text.substr(Layout.GamesClose);
        std::optional<nlohmann::json> Parsed = Parse(Outside, BadAt);
        if (!Parsed) return NotJson(BadAt > Layout.GamesOpen ? BadAt + Cut : BadAt);
        Rest = std::move(*Parsed);
        Rest.erase("games");
    } else {
        std::optional<nlohmann::json> Parsed = Parse(Text, BadAt);
        if (!Parsed) return NotJson(BadAt);
        if (!Parsed->contains("moves")) {
            Error = "в файле нет записей игр";
            return nullptr;
        }
        Layout.Records = {{First, Text.find_last_not_of(" \t\r\n") + 1}};
        Rest = nlohmann::json::object();
    }
    if (Layout.Records.empty()) {
        Error = "в файле нет записей игр";
        return nullptr;
    }

    std::string Why;
    int64_t SyntaxAt = -1;
    const std::optional<std::size_t> Bad = ReadRecords(Text, Layout.Records, OnRecord, Why, SyntaxAt);
    if (Bad) {
        const std::string Game = "запись игры " + std::to_string(*Bad + 1);
        if (SyntaxAt >= 0)
            Error = Game + " не является JSON (" +
                    Position(Text, Layout.Records[*Bad].first + static_cast<uint64_t>(SyntaxAt)) + ")";
        else
            Error = Game + " повреждена: " + RecordDamageInRussian(Why);
        return nullptr;
    }
    Owned.Fd = -1;
    return TRecordArchive::InFile(Fd, std::move(Layout.Records));
}

}  // namespace velkaran
