// The desktop program's plain functions: why the start is held back, finding a chosen library
// again, the help text, the log file's name and encodings.
#include "ui/bot_choice.h"
#include "ui/decimal_separator.h"
#include "ui/help_text.h"
#include "ui/log_file.h"
#include "ui/settings_rules.h"

#include "card_texts/card_words.h"
#include "rules/catalogue.h"
#include "rules/game_limits.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace velkaran {
namespace {

TBot Bot(const std::string &Path, bool Available) {
    TBot Made;
    Made.Available = Available;
    Made.Path = Path;
    return Made;
}

TEST(StartBlockedReasonTest, NamesEachPlayerThatHoldsTheStartBack) {
    const TBot Good = Bot("./good.so", true);
    const TBot Broken = Bot("./broken.so", false);
    EXPECT_EQ(StartBlockedReason({true, nullptr, ""}, {false, &Good, ""}), "");
    EXPECT_EQ(StartBlockedReason({true, nullptr, ""}, {true, nullptr, ""}), "");
    EXPECT_EQ(StartBlockedReason({true, nullptr, ""}, {false, &Broken, "no GetTurn"}),
              "Игрок №2: бот «broken.so» недоступен: no GetTurn.");
    EXPECT_EQ(
        StartBlockedReason({false, &Broken, ""}, {false, nullptr, ""}),
        "Игрок №1: бот «broken.so» недоступен.\nИгрок №2: в папке программы нет ни одного бота (*.so).");
    // Whatever the reason, it is given exactly when the start rule refuses.
    for (const bool FirstHuman : {false, true})
        for (const TBot *First : {static_cast<const TBot *>(nullptr), &Good, &Broken})
            for (const bool SecondHuman : {false, true})
                for (const TBot *Second : {static_cast<const TBot *>(nullptr), &Good, &Broken})
                    EXPECT_EQ(
                        StartBlockedReason({FirstHuman, First, "x"}, {SecondHuman, Second, "y"}).empty(),
                        CanStartMatch(FirstHuman, First, SecondHuman, Second));
}

TEST(BotChoiceTest, AChosenLibraryIsFoundAgainByItsFileName) {
    TBotTable Table;
    Table.Bots = {Bot("./alpha.so", true), Bot("/elsewhere/beta.so", false), Bot("./gamma.so", true)};
    Table.Texts = {"Alpha", "Недоступно", "Gamma"};
    EXPECT_EQ(EntryOfLibrary(Table, "beta.so"), 1);
    EXPECT_EQ(EntryOfLibrary(Table, "gamma.so"), 2);
    EXPECT_EQ(EntryOfLibrary(Table, "delta.so"), -1);
    EXPECT_EQ(EntryOfLibrary(Table, ""), -1);
    EXPECT_EQ(LibraryFileName("./a/b.so"), "b.so");
    EXPECT_EQ(LibraryFileName("plain.so"), "plain.so");

    EXPECT_EQ(BotStatusLine(Table, "Игрок №2: бот «beta.so» недоступен.\nИгрок №1: x."),
              "Игрок №2: бот «beta.so» недоступен. Игрок №1: x.");
    EXPECT_EQ(BotStatusLine(Table, ""), "Недоступных библиотек: 1 из 3; причина — в подсказке списка.");
    EXPECT_EQ(BotStatusLine(TBotTable{}, ""),
              "В папке программы нет ботов (*.so): играть может только человек.");
}

TEST(HelpTextTest, ExplainsEveryCodeTheCardsUseAndTheRulesNumbers) {
    const std::string Help = RulesHelpHtml(",");
    const std::size_t Legend = Help.find("Обозначения в описаниях карт");
    ASSERT_NE(Legend, std::string::npos);
    // Each code that some card description uses has its line in the legend.
    const char *Codes[] = {"->",  "<-",  "SS+", "SB+",      "Base-",    "Shield-",
                           "En+", "Me+", "El+", "Батареи+", "Рудники+", "Лаборатории+"};
    for (const char *Code : Codes) {
        bool Used = false;
        for (int32_t Card = 1; Card <= CardCount; ++Card)
            Used = Used || CardDescriptions[Card].find(Code) != std::string_view::npos;
        EXPECT_TRUE(Used) << Code;
        std::string Escaped = Code;
        if (Escaped == "->") Escaped = "-&gt;";
        if (Escaped == "<-") Escaped = "&lt;-";
        EXPECT_NE(Help.find(Escaped, Legend), std::string::npos) << Code;
    }
    EXPECT_NE(Help.find("щит игрока больше " + std::to_string(HiddenShieldLimit)), std::string::npos);
    EXPECT_NE(Help.find("ход длиннее " + std::to_string(static_cast<int>(MoveTimeLimitMs / 1000)) + " с"),
              std::string::npos);
    // The laboratory limit and the score example are worked out by the rules and the scoring code.
    EXPECT_NE(
        Help.find("не больше 5, а при базе выше 50 — на одну больше за каждые полные 5 ед. базы сверх 50 "
                  "(при базе 60 — 7)"),
        std::string::npos);
    EXPECT_NE(Help.find("20 − 20 / 40 = 19,5, это 20 очков, а у победителя 200."), std::string::npos);
    // Every card of the catalogue is listed, in order, after the legend.
    std::size_t At = Help.find("<h3>Карты</h3>");
    ASSERT_NE(At, std::string::npos);
    for (int32_t Card = 1; Card <= CardCount; ++Card) {
        At = Help.find("<td>" + CardTitle(Card) + "</td>", At);
        ASSERT_NE(At, std::string::npos) << Card;
    }
}

TEST(HelpTextTest, FractionsFollowTheLocale) {
    const QLocale Saved;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    EXPECT_EQ(LocaleDecimalSeparator(), ",");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(LocaleDecimalSeparator(), ".");
    EXPECT_NE(RulesHelpHtml(LocaleDecimalSeparator()).find("= 19.5, это"), std::string::npos);
    QLocale::setDefault(Saved);
}

TEST(LogFileTest, OffersADatedNameAndWritesEitherEncoding) {
    const QDateTime Now(QDate(2026, 12, 7), QTime(9, 5, 3));
    EXPECT_EQ(SuggestedLogFileName(Now, "/home/user/games"),
              "/home/user/games/velkaran-2026-12-07-090503.txt");

    QTemporaryDir Folder;
    const std::vector<std::string> Lines = {"Ничья", ""};
    const QString Path = Folder.filePath("log.txt");
    auto Bytes = [&Path] {
        QFile File(Path);
        return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray();
    };
    EXPECT_FALSE(SaveLogFile(Lines, Path, TLogEncoding::Utf8));
    EXPECT_EQ(Bytes(), QByteArray("Ничья\r\n\r\n"));
    EXPECT_FALSE(SaveLogFile(Lines, Path, TLogEncoding::Windows1251));
    EXPECT_EQ(Bytes(), QByteArray("\xcd\xe8\xf7\xfc\xff\r\n\r\n"));

    const QString Missing = Folder.filePath("no folder/log.txt");
    for (const TLogEncoding Encoding : {TLogEncoding::Utf8, TLogEncoding::Windows1251}) {
        const auto Failure = SaveLogFile(Lines, Missing, Encoding);
        ASSERT_TRUE(Failure);
        EXPECT_EQ(Failure->rfind("Cannot create file \"" + Missing.toStdString() + "\". ", 0), 0u)
            << *Failure;
    }
}

}  // namespace
}  // namespace velkaran
