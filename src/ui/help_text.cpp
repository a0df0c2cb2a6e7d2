// The help text: every number is read from the code that plays and scores the game.
#include "help_text.h"

#include "card_texts/card_cost_text.h"
#include "card_texts/card_words.h"
#include "match/match_runner.h"
#include "match/number_text.h"
#include "rules/catalogue.h"
#include "rules/game_limits.h"
#include "rules/turn_rules.h"
#include "stats/elo.h"

#include <cmath>
#include <string>
#include <string_view>

namespace velkaran {
namespace {

std::string Number(int64_t Value) { return std::to_string(Value); }

// How the limit grows: the fixed limit, the base above which it grows, and by how much base
// each further laboratory is allowed.
struct TLaboratoryRule {
    int32_t Limit = 0;
    int32_t GrowsAbove = 0;
    int32_t BasePerExtra = 0;
};

TLaboratoryRule LaboratoryRule() {
    TLaboratoryRule Rule{LaboratoryLimit(1), 0, 0};
    int32_t Base = 1;
    while (Base < 10'000 && LaboratoryLimit(Base + 1) == Rule.Limit) ++Base;
    int32_t Next = Base + 1;  // the first base that allows one more
    while (Next < 10'000 && LaboratoryLimit(Next + 1) == LaboratoryLimit(Base + 1)) ++Next;
    Rule.BasePerExtra = Next - Base;
    Rule.GrowsAbove = Base + 1 - Rule.BasePerExtra;
    return Rule;
}

std::string StartingValues() {
    TGameState State{};
    NewGameState(State);
    const TPlayer &Start = State[0];
    const std::pair<const char *, int32_t> Rows[] = {
        {"База", Start.Base},
        {"Щит", Start.Shield},
        {"Батареи (+1 En за раунд каждая)", Start.Batteries},
        {"Рудники (+1 Me за раунд каждый)", Start.Mines},
        {"Лаборатории (+1 El за раунд каждая)", Start.Laboratories},
        {"Энергия (En)", Start.Energy},
        {"Металл (Me)", Start.Metal},
        {"Электроэлементы (El)", Start.Elements},
    };
    std::string Table = "<table cellspacing=\"0\" cellpadding=\"2\">";
    for (const auto &[Name, Value] : Rows)
        Table += std::string("<tr><td>") + Name + "</td><td align=\"right\">&nbsp;&nbsp;" + Number(Value) +
                 "</td></tr>";
    return Table + "</table>";
}

// A worked example of the score: Rounds rounds in which the player thought Seconds in all.
std::string ScoreExample(uint32_t Rounds, int32_t Seconds, const std::string &Separator) {
    TPlayer Player{};
    Player.Statistics.TotalTime = Seconds * 1000.0;
    const uint32_t Score = ComputeScore(Player, Rounds);
    const double Exact = MoveTimeLimitMs / 1000 - static_cast<double>(Seconds) / Rounds;
    return "Например, " + Number(Rounds) + " раундов и " + Number(Seconds) +
           " с на все ходы: " + FormatGeneral(MoveTimeLimitMs / 1000, Separator) + " − " + Number(Seconds) +
           " / " + Number(Rounds) + " = " + FormatGeneral(Exact, Separator) + ", это " + Number(Score) +
           " очков, а у победителя " + Number(int64_t{10} * Score) + ".";
}

struct TLegendEntry {
    std::string_view Code;
    std::string_view Meaning;
};

constexpr TLegendEntry Legend[] = {
    {"En, Me, El", "энергия, металл, электроэлементы; в начале описания — цена карты"},
    {"->N", "атака силой N: сначала её принимает щит соперника, остаток снимается с его базы"},
    {"<-N", "такой же удар по себе: сначала по своему щиту, остаток по своей базе"},
    {"SS+N", "ремонт щита: свой щит +N"},
    {"SB+N", "ремонт базы: своя база +N"},
    {"Base-N", "прямой урон базе соперника: N снимается с базы, щит не защищает"},
    {"Shield-N", "щит соперника −N (не ниже 0)"},
    {"En+N, Me+N, El+N", "свой ресурс +N"},
    {"Батареи+1, Рудники+1, Лаборатории+1", "новая постройка"},
};

std::string Escaped(std::string_view Text) {
    std::string Result;
    for (char Character : Text) {
        if (Character == '<')
            Result += "&lt;";
        else if (Character == '>')
            Result += "&gt;";
        else if (Character == '&')
            Result += "&amp;";
        else
            Result += Character;
    }
    return Result;
}

// The share of the points a bot Elo points stronger expects, in whole percent: "64 %".
std::string Percent(double Elo) { return Number(std::lround(100 * ScoreFromElo(Elo))) + " %"; }

// Every card of the catalogue: its number and name, its cost and what it does.
std::string CardsTable() {
    std::string Table =
        "<table cellspacing=\"0\" cellpadding=\"3\" border=\"1\"><tr><th>Карта</th><th>Цена</th>"
        "<th>Действие</th></tr>";
    for (int32_t Card = 1; Card <= CardCount; ++Card)
        Table += "<tr><td>" + Escaped(CardTitle(Card)) + "</td><td>" + Escaped(CostText(CardCosts[Card])) +
                 "</td><td>" + Escaped(EffectSentence(Card)) + "</td></tr>";
    return Table + "</table>";
}

}  // namespace

std::string RulesHelpHtml(const std::string &DecimalSeparator) {
    const TLaboratoryRule Laboratories = LaboratoryRule();
    const std::string Shield = Number(HiddenShieldLimit);
    const std::string MoveSeconds = Number(static_cast<int64_t>(MoveTimeLimitMs / 1000));
    std::string Html;
    Html +=
        "<h3>Цель игры</h3>"
        "<p>Два игрока ходят по очереди, первый игрок — первым в каждом раунде. Проигрывает тот, чья база "
        "опустилась ниже 1; если один ход разрушил обе базы, проигрывает первый игрок. Если за "
        "«Максимум ходов» раундов никто не победил, партия заканчивается вничью.</p>";
    Html +=
        "<h3>Набор карт и ход</h3>"
        "<p>В начале партии каждый выбирает " +
        Number(CardSetSize) + " разных карт из " + Number(CardCount) +
        ". Набор не меняется всю партию, а сыгранная карта не расходуется: её можно играть снова. Ход — "
        "ровно одна карта набора, за которую хватает всех трёх ресурсов; карта 50 «Пропуск хода» бесплатна. "
        "Кому нечем заплатить, тот пропускает ход. Недопустимый набор или карта, которую нельзя сыграть, — "
        "поражение («ошибка или пас»).</p>";
    Html +=
        "<h3>Ресурсы, постройки и производство</h3>"
        "<p>Ресурсы — энергия (En), металл (Me) и электроэлементы (El); ими платят за карты. В конце каждого "
        "раунда каждая батарея даёт 1 энергию, каждый рудник — 1 металл, каждая лаборатория — 1 "
        "электроэлемент. Лабораторий может быть не больше " +
        Number(Laboratories.Limit) + ", а при базе выше " + Number(Laboratories.GrowsAbove) +
        " — на одну больше за каждые полные " + Number(Laboratories.BasePerExtra) + " ед. базы сверх " +
        Number(Laboratories.GrowsAbove) + " (при базе " +
        Number(Laboratories.GrowsAbove + 2 * Laboratories.BasePerExtra) + " — " +
        Number(LaboratoryLimit(Laboratories.GrowsAbove + 2 * Laboratories.BasePerExtra)) +
        "); лишние пропадают сразу после каждой сыгранной карты.</p>"
        "<p>В начале партии у каждого игрока:</p>" +
        StartingValues();
    Html +=
        "<h3>Щит и база</h3>"
        "<p>Обычная атака сначала попадает в щит; что щит не удержал, снимается с базы. Некоторые карты бьют "
        "по базе напрямую, мимо щита.</p>";
    Html +=
        "<h3>Скрытая информация</h3>"
        "<p>Если щит игрока больше " +
        Shield +
        ", соперник видит только этот щит: база, постройки и "
        "ресурсы скрыты, и соперник не узнаёт, какую карту игрок сыграл последним (если сам может "
        "сыграть хоть одну карту).</p>";
    Html +=
        "<h3>Время хода</h3>"
        "<p>В игре двух ботов ход длиннее " +
        MoveSeconds +
        " с — поражение. В партии с человеком время "
        "не ограничено.</p>";
    Html +=
        "<h3>Очки партии</h3>"
        "<p>Очки игрока — " +
        MoveSeconds +
        " минус среднее время его хода за раунд в секундах (всё время "
        "его ходов, делённое на число раундов), округлённые до целого; половина округляется к чётному. "
        "Меньше 0 очков не бывает, партия без единого раунда даёт 2 очка. Очки победителя умножаются на 10, "
        "при ничьей — ни у кого. " +
        ScoreExample(40, 20, DecimalSeparator) + "</p>";
    Html +=
        "<h3>Серия</h3>"
        "<p>Серия из N игр — это N партий, а затем ещё N с обменом мест, всего 2N. Для каждого бота "
        "считаются победы, ничьи, ошибки (поражения из-за ошибки или паса) и сумма очков всех партий.</p>";
    Html +=
        "<h3>Elo, интервал и LOS</h3>"
        "<p>Разница Elo оценивает, насколько один бот сильнее другого: при разнице 0 они равны, при +100 "
        "первый набирает в среднем около " +
        Percent(100) + " очков, при +200 — около " + Percent(200) +
        ". Она считается по парам игр (две "
        "игры, в которых боты меняются местами), поэтому преимущество первого хода не искажает оценку. "
        "95 % интервал — границы, в которых истинная разница лежит с вероятностью 95 %: чем больше игр, тем "
        "он уже.</p>"
        "<p>LOS (вероятность превосходства) — вероятность того, что первый бот действительно сильнее "
        "второго, а не выиграл случайно. LOS выше 95 % — почти наверняка сильнее, около 50 % — разницы "
        "не видно. Если игра детерминирована (все пары игр одинаковы), разница не оценивается: новые игры "
        "ничего не добавят.</p>";
    Html +=
        "<h3>Боты-программы</h3>"
        "<p>Бот — это библиотека <tt>*.so</tt> или программа на любом языке: для неё рядом с библиотеками "
        "кладут описание <tt>ИМЯ.bot</tt> со строкой <tt>command = …</tt> (как её запустить). Программа "
        "читает строки со стандартного ввода и отвечает строками на стандартный вывод; протокол описан в "
        "руководстве <tt>bot-guide.md</tt>.</p>";
    Html += "<h3>Обозначения в описаниях карт</h3><ul>";
    for (const TLegendEntry &Entry : Legend)
        Html += "<li><b>" + Escaped(Entry.Code) + "</b> — " + std::string(Entry.Meaning) + "</li>";
    Html +=
        "</ul><p>Описание каждой карты словами — в подсказке к карте в окне партии. Все карты с ценой и "
        "действием по-русски и по-английски печатает <tt>velkaran-match --cards</tt>; руководство для "
        "авторов "
        "ботов (на английском) — файл <tt>bot-guide.md</tt> (в исходниках: docs/, после установки: "
        "share/doc/velkaran/).</p>";
    Html += "<h3>Карты</h3>" + CardsTable();
    return Html;
}

}  // namespace velkaran
