// UTF-8 to Windows-1251 through glibc's iconv.
#include "windows1251.h"

#include <iconv.h>

#include <cassert>
#include <cerrno>
#include <stdexcept>
#include <string>

namespace velkaran {
namespace {

// The length of the UTF-8 sequence that starts with Lead, or 1 for a byte that cannot start one.
std::size_t SequenceLength(unsigned char Lead) {
    if (Lead >= 0xC2 && Lead <= 0xDF) return 2;
    if (Lead >= 0xE0 && Lead <= 0xEF) return 3;
    if (Lead >= 0xF0 && Lead <= 0xF4) return 4;
    return 1;
}

// Skips the character at Input that iconv could not take: a whole sequence when it is complete,
// one byte otherwise, so that a broken sequence never swallows the valid text after it.
std::size_t SkipLength(const char *Input, std::size_t Left) {
    const std::size_t Length = SequenceLength(static_cast<unsigned char>(Input[0]));
    if (Length > Left) return 1;
    for (std::size_t I = 1; I < Length; ++I) {
        if ((static_cast<unsigned char>(Input[I]) & 0xC0) != 0x80) return 1;
    }
    return Length;
}

// One conversion descriptor for the whole run; iconv keeps no state between lines here, since
// neither code page has shift states.
class Converter {
public:
    Converter() : Handle(iconv_open("WINDOWS-1251", "UTF-8")) {
        if (Handle == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error("the system offers no conversion from UTF-8 to Windows-1251");
        }
    }
    ~Converter() { iconv_close(Handle); }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    std::string Convert(const std::string &Text) {
        std::string Output(Text.size(), '\0');  // Windows-1251 never needs more bytes than UTF-8
        char *Input = const_cast<char *>(Text.data());
        std::size_t InputLeft = Text.size();
        char *Out = Output.data();
        std::size_t OutLeft = Output.size();
        while (InputLeft > 0) {
            if (iconv(Handle, &Input, &InputLeft, &Out, &OutLeft) != static_cast<std::size_t>(-1)) break;
            assert(errno != E2BIG && "the output buffer is as long as the input");
            // EILSEQ: a character without a place in the code page, or a byte that is not UTF-8.
            // EINVAL: a sequence cut off at the end of the text.
            const std::size_t Skip = SkipLength(Input, InputLeft);
            Input += Skip;
            InputLeft -= Skip;
            *Out++ = '?';
            --OutLeft;
        }
        Output.resize(Output.size() - OutLeft);
        return Output;
    }

private:
    iconv_t Handle;
};

}  // namespace

std::string ToWindows1251(const std::string &Text) {
    Converter Conversion;
    return Conversion.Convert(Text);
}

std::string FromWindows1251(const std::string &Text) {
    const iconv_t Handle = iconv_open("UTF-8", "WINDOWS-1251");
    if (Handle == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("the system offers no conversion from Windows-1251 to UTF-8");
    std::string Output(3 * Text.size(), '\0');  // no character of the code page takes more
    char *Input = const_cast<char *>(Text.data());
    std::size_t InputLeft = Text.size();
    char *Out = Output.data();
    std::size_t OutLeft = Output.size();
    while (InputLeft > 0) {
        if (iconv(Handle, &Input, &InputLeft, &Out, &OutLeft) != static_cast<std::size_t>(-1)) break;
        // EILSEQ: the one byte (0x98) without a character.
        ++Input;
        --InputLeft;
        *Out++ = '?';
        --OutLeft;
    }
    iconv_close(Handle);
    Output.resize(Output.size() - OutLeft);
    return Output;
}

}  // namespace velkaran
