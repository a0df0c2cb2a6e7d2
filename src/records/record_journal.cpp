// The journal: one JSON text per record in an unnamed file; documents written by copying it.
#include "record_journal.h"

#include "atomic_file.h"
#include "record_json.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace velkaran {
namespace {

bool WriteText(int Fd, const std::string &Text) { return WriteAll(Fd, Text.data(), Text.size()); }

// Copies the whole of From (from its start) to To; gives up when Interrupted says so.
bool CopyFile(int From, int To, const std::function<bool()> &Interrupted) {
    char Buffer[1 << 16];
    off_t At = 0;
    for (;;) {
        if (Interrupted && Interrupted()) return false;
        const ssize_t Read = pread(From, Buffer, sizeof Buffer, At);
        if (Read < 0 && errno == EINTR) continue;
        if (Read < 0) return false;
        if (Read == 0) return true;
        if (!WriteAll(To, Buffer, static_cast<std::size_t>(Read))) return false;
        At += Read;
    }
}

// The members of Object as JSON text without the braces: "\"a\":1,\"b\":2".
std::string Members(const nlohmann::json &Object) {
    std::string Text = Object.dump();
    return Text.size() <= 2 ? std::string() : Text.substr(1, Text.size() - 2);
}

// A record that OnRecord refused, carried out of the parser.
struct TRefused : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace

std::unique_ptr<TRecordJournal> TRecordJournal::Open(const std::string &Folder, std::string &Error) {
    const std::string Where = Folder.empty() ? "." : Folder;
    int Fd = open(Where.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (Fd < 0) {  // a file system without unnamed files: a named one, unlinked at once
        std::string Name = (std::filesystem::path(Where) / ".velkaran-records-XXXXXX").string();
        Fd = mkostemp(Name.data(), O_CLOEXEC);
        if (Fd >= 0) unlink(Name.c_str());
    }
    if (Fd < 0) {
        Error = "cannot keep the game records in " + Where + ": " + std::strerror(errno);
        return nullptr;
    }
    return std::unique_ptr<TRecordJournal>(new TRecordJournal(Fd));
}

TRecordJournal::~TRecordJournal() { close(Fd); }

bool TRecordJournal::Append(const TGameRecord &Record) {
    if (Broken) return false;
    const std::string Text = (Records == 0 ? "\n" : ",\n") + RecordToJson(Record).dump();
    if (!WriteText(Fd, Text)) {
        Broken = true;
        return false;
    }
    ++Records;
    return true;
}

bool TRecordJournal::WriteDocument(const std::string &Path, const nlohmann::json &Head,
                                   const nlohmann::json &Tail, std::string &Error,
                                   const std::function<bool()> &Interrupted) const {
    if (Broken) {
        Error = "the game records could not all be kept on disk";
        return false;
    }
    const std::string HeadMembers = Members(Head);
    const std::string TailMembers = Members(Tail);
    const bool Written = WriteFileAtomically(
        Path,
        [&](int Out) {
            return WriteText(Out, "{" + HeadMembers + (HeadMembers.empty() ? "" : ",") + "\"games\":[") &&
                   CopyFile(Fd, Out, Interrupted) &&
                   WriteText(Out, "\n]" + (TailMembers.empty() ? "" : "," + TailMembers) + "}\n");
        },
        Error);
    if (!Written && Interrupted && Interrupted()) Error = "the saving of " + Path + " was given up";
    return Written;
}

namespace {

// Opens Path for reading into In; false with Error (a folder, a file that cannot be opened).
bool OpenDocument(const std::string &Path, std::ifstream &In, std::string &Error) {
    std::error_code Failure;
    if (std::filesystem::is_directory(Path, Failure)) {
        Error = "cannot read " + Path + ": it is a folder";
        return false;
    }
    In.open(Path, std::ios::binary);
    if (In) return true;
    Error = "cannot read " + Path + ": " + std::strerror(errno);
    return false;
}

}  // namespace

bool ReadDocument(const std::string &Path, nlohmann::json &Rest, const TRecordReader &OnRecord,
                  std::string &Error) {
    std::ifstream In;
    return OpenDocument(Path, In, Error) && ReadDocument(In, Path, Rest, OnRecord, Error);
}

bool ReadDocumentHead(const std::string &Path, nlohmann::json &Head, std::string &Error,
                      const std::vector<std::string> &Needed) {
    std::ifstream In;
    if (!OpenDocument(Path, In, Error)) return false;
    Head = nlohmann::json::object();
    std::string Key;
    bool Object = false;
    bool InGames = false;
    const auto Callback = [&](int Depth, nlohmann::json::parse_event_t Event, nlohmann::json &Parsed) {
        using Kind = nlohmann::json::parse_event_t;
        if (Depth == 0 && Event == Kind::object_start) Object = true;
        if (Depth == 1 && Event == Kind::key) {
            Key = Parsed.get<std::string>();
            InGames = Key == "games";
            // The records follow: the head is whole when it holds what is needed (as the files
            // written here do); else the rest is read past the records.
            const auto Held = [&Head](const std::string &Name) { return Head.contains(Name); };
            if (InGames && std::all_of(Needed.begin(), Needed.end(), Held)) throw TRefused("");
        }
        if (InGames && Depth >= 2) return false;
        if (Depth == 1 && !InGames &&
            (Event == Kind::value || Event == Kind::object_end || Event == Kind::array_end))
            Head[Key] = Parsed;
        return true;
    };
    try {
        [[maybe_unused]] const nlohmann::json Whole = nlohmann::json::parse(In, Callback);
    } catch (const TRefused &) {
        // The records follow: the head is whole.
    } catch (const nlohmann::json::exception &Bad) {
        Error = Path + " is not a readable JSON document: " + Bad.what();
        return false;
    }
    if (!Object) {
        Error = Path + " does not hold a JSON object";
        return false;
    }
    return true;
}

bool ReadDocument(std::istream &In, const std::string &Path, nlohmann::json &Rest,
                  const TRecordReader &OnRecord, std::string &Error) {
    std::string Key;  // the member of the document being read
    bool InGames = false;
    const auto Callback = [&](int Depth, nlohmann::json::parse_event_t Event, nlohmann::json &Parsed) {
        using Kind = nlohmann::json::parse_event_t;
        if (Depth == 1 && Event == Kind::key) Key = Parsed.get<std::string>();
        if (Depth == 1 && Event == Kind::array_start) InGames = Key == "games";
        if (Depth == 1 && Event == Kind::array_end && InGames) InGames = false;
        if (InGames && Depth == 2 && Event == Kind::object_end) {
            std::string Refusal;
            if (!OnRecord(Parsed, Refusal)) throw TRefused(Refusal);
            return false;
        }
        return true;
    };
    try {
        Rest = nlohmann::json::parse(In, Callback);
    } catch (const TRefused &Refused) {
        Error = Refused.what();
        return false;
    } catch (const nlohmann::json::exception &Bad) {
        Error = Path + " is not a readable JSON document: " + Bad.what();
        return false;
    }
    if (!Rest.is_object()) {
        Error = Path + " does not hold a JSON object";
        return false;
    }
    Rest.erase("games");
    return true;
}

}  // namespace velkaran

namespace velkaran {
namespace {

using nlohmann::json;

// The parser's events of a whole document: the records of "games" go to a record builder, one
// after the other; every other member becomes part of Rest.
class TDocumentEvents : public nlohmann::json_sax<json> {
public:
    TDocumentEvents(const std::string &Path, json &Rest, const TGameRecordReader &OnRecord,
                    std::string &Error)
        : Path(Path), Rest(Rest), OnRecord(OnRecord), Error(Error) {}

    bool null() override {
        return Scalar(nullptr, [](TRecordBuilder &B) { return B.Null(); });
    }
    bool boolean(bool Value) override {
        return Scalar(Value, [Value](TRecordBuilder &B) { return B.Boolean(Value); });
    }
    bool number_integer(number_integer_t Value) override {
        return Scalar(Value, [Value](TRecordBuilder &B) { return B.Integer(Value); });
    }
    bool number_unsigned(number_unsigned_t Value) override {
        return Scalar(Value, [Value](TRecordBuilder &B) { return B.Unsigned(Value); });
    }
    bool number_float(number_float_t Value, const string_t &) override {
        return Scalar(Value, [Value](TRecordBuilder &B) { return B.Float(Value); });
    }
    bool string(string_t &Value) override {
        return Scalar(Value, [&Value](TRecordBuilder &B) { return B.Text(Value); });
    }
    bool binary(binary_t &) override {
        return Scalar(nullptr, [](TRecordBuilder &B) { return B.Null(); });
    }

    bool start_object(std::size_t) override {
        ++Depth;
        if (Depth == 1) {
            Rest = json::object();
            Dom.assign(1, &Rest);
            return true;
        }
        if (InGames && Depth == 3) {
            InRecord = true;
            Builder.Reset();
        }
        if (InRecord) return Forward(Builder.StartObject());
        if (InGames) return Refuse();
        Dom.push_back(Add(json::object()));
        return true;
    }
    bool end_object() override {
        --Depth;
        if (InRecord) {
            if (!Forward(Builder.EndObject())) return false;
            if (!Builder.Done()) return true;
            InRecord = false;
            return OnRecord(Builder.Record(), Error);
        }
        Dom.pop_back();
        return true;
    }
    bool start_array(std::size_t) override {
        ++Depth;
        if (Depth == 2 && Key == "games") {
            InGames = true;
            return true;
        }
        if (InRecord) return Forward(Builder.StartArray());
        if (InGames) return Refuse();
        Dom.push_back(Add(json::array()));
        return true;
    }
    bool end_array() override {
        --Depth;
        if (InRecord) return Forward(Builder.EndArray());
        if (InGames && Depth == 1) {
            InGames = false;
            return true;
        }
        Dom.pop_back();
        return true;
    }
    bool key(string_t &Name) override {
        if (InRecord) return Forward(Builder.Key(Name));
        Key = Name;
        return true;
    }
    bool parse_error(std::size_t, const std::string &, const nlohmann::detail::exception &Bad) override {
        Error = Path + " is not a readable JSON document: " + Bad.what();
        return false;
    }

private:
    // A value outside the records: added to the member being read (a scalar root is no document).
    template <typename TValue, typename TForward>
    bool Scalar(TValue &&Value, TForward ToBuilder) {
        if (InRecord) return Forward(ToBuilder(Builder));
        if (InGames) return Refuse();
        if (Depth == 0) return true;  // not an object: the caller says so
        Add(json(std::forward<TValue>(Value)));
        return true;
    }
    json *Add(json Value) {
        json &Top = *Dom.back();
        if (Top.is_object()) return &(Top[Key] = std::move(Value));
        Top.push_back(std::move(Value));
        return &Top.back();
    }
    bool Forward(bool Fine) {
        if (!Fine) Error = Builder.Error();
        return Fine;
    }
    bool Refuse() {
        Error = "a game record is damaged: it is not an object";
        return false;
    }

    const std::string &Path;
    json &Rest;
    const TGameRecordReader &OnRecord;
    std::string &Error;
    TRecordBuilder Builder;
    std::vector<json *> Dom;  // the values being built outside the records, innermost last
    std::string Key;          // the member being read
    int Depth = 0;
    bool InGames = false;
    bool InRecord = false;
};

}  // namespace

bool ReadRecords(const std::string &Path, nlohmann::json &Rest, const TGameRecordReader &OnRecord,
                 std::string &Error) {
    std::ifstream In;
    return OpenDocument(Path, In, Error) && ReadRecords(In, Path, Rest, OnRecord, Error);
}

bool ReadRecords(std::istream &In, const std::string &Path, nlohmann::json &Rest,
                 const TGameRecordReader &OnRecord, std::string &Error) {
    Error.clear();
    Rest = nlohmann::json();
    TDocumentEvents Events(Path, Rest, OnRecord, Error);
    if (!nlohmann::json::sax_parse(In, &Events)) return false;
    if (!Rest.is_object()) {
        Error = Path + " does not hold a JSON object";
        return false;
    }
    Rest.erase("games");
    return true;
}

}  // namespace velkaran
