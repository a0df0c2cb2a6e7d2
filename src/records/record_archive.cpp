// Records as CBOR one after another in a temporary file, or as the JSON texts of a saved file,
// found again by their byte spans.
#include "record_archive.h"

#include "record_json.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace velkaran {
namespace {

// Reads Size bytes at At; false when the file has fewer.
bool ReadAll(int Fd, uint64_t At, std::vector<std::uint8_t> &Bytes) {
    std::size_t Done = 0;
    while (Done < Bytes.size()) {
        const ssize_t Read =
            pread(Fd, Bytes.data() + Done, Bytes.size() - Done, static_cast<off_t>(At + Done));
        if (Read < 0 && errno == EINTR) continue;
        if (Read <= 0) return false;
        Done += static_cast<std::size_t>(Read);
    }
    return true;
}

}  // namespace

std::unique_ptr<TRecordArchive> TRecordArchive::Create(std::string &Error) {
    const char *Folder = std::getenv("TMPDIR");
    int Fd =
        open(Folder != nullptr && *Folder != '\0' ? Folder : "/tmp", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (Fd < 0) {  // a file system without unnamed files
        std::FILE *File = std::tmpfile();
        Fd = File != nullptr ? fcntl(fileno(File), F_DUPFD_CLOEXEC, 0) : -1;
        if (File != nullptr) std::fclose(File);
    }
    if (Fd < 0) {
        Error = std::string("не удалось создать временный файл для записей игр: ") + std::strerror(errno);
        return nullptr;
    }
    return std::unique_ptr<TRecordArchive>(new TRecordArchive(Fd, false));
}

std::unique_ptr<TRecordArchive> TRecordArchive::InFile(int Fd,
                                                       std::vector<std::pair<uint64_t, uint64_t>> Spans) {
    auto Archive = std::unique_ptr<TRecordArchive>(new TRecordArchive(Fd, true));
    Archive->Spans = std::move(Spans);
    return Archive;
}

TRecordArchive::~TRecordArchive() { close(Fd); }

bool TRecordArchive::Append(const TGameRecord &Record) {
    if (Broken || Json) return false;
    const std::vector<std::uint8_t> Bytes = nlohmann::json::to_cbor(RecordToJson(Record));
    std::size_t Done = 0;
    while (Done < Bytes.size()) {
        const ssize_t Written =
            pwrite(Fd, Bytes.data() + Done, Bytes.size() - Done, static_cast<off_t>(End + Done));
        if (Written < 0 && errno == EINTR) continue;
        if (Written <= 0) {
            Broken = true;
            return false;
        }
        Done += static_cast<std::size_t>(Written);
    }
    Spans.emplace_back(End, End + Bytes.size());
    End += Bytes.size();
    return true;
}

std::optional<TGameRecord> TRecordArchive::Read(int64_t Index, std::string &Error) const {
    const std::string Game = "игры " + std::to_string(Index + 1);
    if (Index < 0 || Index >= Count()) {
        Error = Game + " нет";
        return std::nullopt;
    }
    const auto [Begin, Stop] = Spans[static_cast<std::size_t>(Index)];
    std::vector<std::uint8_t> Bytes(static_cast<std::size_t>(Stop - Begin));
    if (!ReadAll(Fd, Begin, Bytes)) {
        Error = "запись " + Game + " не удалось прочитать снова (файл изменён?)";
        return std::nullopt;
    }
    const nlohmann::json Parsed =
        Json ? nlohmann::json::parse(Bytes, nullptr, false) : nlohmann::json::from_cbor(Bytes, true, false);
    if (Parsed.is_discarded()) {
        Error = "запись " + Game + " повреждена";
        return std::nullopt;
    }
    std::optional<TGameRecord> Record = RecordFromJson(Parsed, Error);
    if (!Record) Error = "запись " + Game + " повреждена: " + RecordDamageInRussian(Error);
    return Record;
}

}  // namespace velkaran
