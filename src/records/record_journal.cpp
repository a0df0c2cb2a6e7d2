// The journal: one JSON text per record in an unnamed file; documents written by copying it.
#include "record_journal.h"

#include "atomic_file.h"
#include "record_json.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace velkaran {
namespace {

bool WriteText(int Fd, const std::string &Text) { return WriteAll(Fd, Text.data(), Text.size()); }

// Copies the whole of From (from its start) to To.
bool CopyFile(int From, int To) {
    char Buffer[1 << 16];
    off_t At = 0;
    for (;;) {
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
                                   const nlohmann::json &Tail, std::string &Error) const {
    if (Broken) {
        Error = "the game records could not all be kept on disk";
        return false;
    }
    const std::string HeadMembers = Members(Head);
    const std::string TailMembers = Members(Tail);
    return WriteFileAtomically(
        Path,
        [&](int Out) {
            return WriteText(Out, "{" + HeadMembers + (HeadMembers.empty() ? "" : ",") + "\"games\":[") &&
                   CopyFile(Fd, Out) &&
                   WriteText(Out, "\n]" + (TailMembers.empty() ? "" : "," + TailMembers) + "}\n");
        },
        Error);
}

bool ReadDocument(const std::string &Path, nlohmann::json &Rest,
                  const std::function<bool(const nlohmann::json &Record, std::string &Error)> &OnRecord,
                  std::string &Error) {
    std::ifstream In(Path, std::ios::binary);
    if (!In) {
        Error = "cannot read " + Path + ": " + std::strerror(errno);
        return false;
    }
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
