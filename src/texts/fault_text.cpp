// The host's fault descriptions, phrase by phrase.
#include "fault_text.h"

#include <array>
#include <utility>

namespace velkaran {
namespace {

// The meaning of the signals a bot's worker usually ends by.
std::string_view SignalMeaning(std::string_view Name) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 12> Meanings{{
        {"SIGSEGV", "нарушение доступа к памяти"},
        {"SIGBUS", "ошибка шины"},
        {"SIGABRT", "аварийное завершение"},
        {"SIGFPE", "арифметическая ошибка"},
        {"SIGILL", "недопустимая инструкция"},
        {"SIGKILL", "принудительное завершение"},
        {"SIGTERM", "запрос на завершение"},
        {"SIGXCPU", "превышен лимит процессорного времени"},
        {"SIGXFSZ", "превышен размер файла"},
        {"SIGSYS", "запрещённый системный вызов"},
        {"SIGPIPE", "запись в закрытый канал"},
        {"SIGTRAP", "ловушка отладчика"},
    }};
    for (const auto &[Signal, Meaning] : Meanings)
        if (Signal == Name) return Meaning;
    return {};
}

// "SIGSEGV (Segmentation fault)" -> "SIGSEGV (нарушение доступа к памяти)"; "signal 40" -> "40".
std::string SignalText(std::string_view Signal) {
    if (Signal.rfind("signal ", 0) == 0) return std::string(Signal.substr(7));
    const std::string_view Name = Signal.substr(0, Signal.find(' '));
    const std::string_view Meaning = SignalMeaning(Name);
    if (Meaning.empty()) return std::string(Signal);
    return std::string(Name) + " (" + std::string(Meaning) + ")";
}

// Text between Prefix and Suffix when Detail is Prefix + text + Suffix.
bool Between(std::string_view Detail, std::string_view Prefix, std::string_view Suffix,
             std::string_view &Text) {
    if (Detail.size() < Prefix.size() + Suffix.size() || Detail.substr(0, Prefix.size()) != Prefix ||
        Detail.substr(Detail.size() - Suffix.size()) != Suffix)
        return false;
    Text = Detail.substr(Prefix.size(), Detail.size() - Prefix.size() - Suffix.size());
    return true;
}

}  // namespace

std::string FaultDetailText(std::string_view Detail) {
    struct TPhrase {
        std::string_view Prefix, Suffix;  // around what varies
        std::string_view Before, After;   // the Russian around it
        bool Nested;                      // what varies is a detail of its own
    };
    static constexpr std::array<TPhrase, 16> Phrases{{
        {"no answer within ", " ms", "нет ответа за ", " мс", false},
        {"exited with status ", "", "завершился с кодом ", "", false},
        {"ended with wait status ", "", "завершился (состояние ожидания ", ")", false},
        {"stopped answering on its pipes to the host", "", "перестал отвечать по своим каналам", "", false},
        {"the worker had already ended", "", "рабочий процесс уже завершился", "", false},
        {"its worker had ended before the call", "", "рабочий процесс завершился до вызова", "", false},
        {"sent ", " bytes that are not an answer", "прислал ", " байт, которые не являются ответом", false},
        {"an exception left the bot (", ")", "из бота вылетело исключение (", ")", false},
        {"the sandbox refused the system call ", "", "песочница запретила системный вызов ", "", false},
        {"its worker could not be started again: ", "", "рабочий процесс не удалось запустить снова: ", "",
         true},
        {"did not finish loading within ", " s", "не загрузился за ", " с", false},
        {"failed while loading: ", "", "сбой при загрузке: ", "", true},
        {"did not end within ", " ms", "не завершился за ", " мс", false},
        {"a move of ", " ms", "ход длился ", " мс", false},
        {"missing export \"", "\"", "нет экспорта «", "»", false},
        {"not a loadable library: ", "", "не загружается как библиотека: ", "", false},
    }};
    std::string_view Text;
    if (Between(Detail, "killed by ", "", Text)) return "завершён сигналом " + SignalText(Text);
    for (const TPhrase &Phrase : Phrases) {
        if (!Between(Detail, Phrase.Prefix, Phrase.Suffix, Text)) continue;
        const std::string Inner = Phrase.Nested ? FaultDetailText(Text) : std::string(Text);
        return std::string(Phrase.Before) + Inner + std::string(Phrase.After);
    }
    return std::string(Detail);
}

}  // namespace velkaran
