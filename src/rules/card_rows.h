// The rows of the card catalogue, fixed at build time: every card's number, cost and description text.
// The public tables of catalogue.h and the packed costs of affordability.h are derived from these rows.
#pragma once

#include "catalogue.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace velkaran {

struct TCardRow {
    int32_t Card;
    TCardCost Cost;
    std::string_view Description;
};

// Costs are energy, metal, electro-elements; texts are shown to users exactly as written.
inline constexpr TCardRow CardRows[] = {
    {1, {4, 0, 0}, "(1) Атака 1. En 4 : ->5"},
    {2, {0, 4, 0}, "(2) Атака 2. Me 4 : ->5"},
    {3, {0, 0, 5}, "(3) Атака 3. El 5 : ->5"},
    {4, {5, 3, 0}, "(4) Атака 4. En 5, Me 3 : ->7"},
    {5, {3, 5, 0}, "(5) Атака 5. En 3, Me 5 : ->8"},
    {6, {2, 2, 6}, "(6) Атака 6. En 2, Me 2, El 6 : ->8"},
    {7, {10, 3, 0}, "(7) Атака 7. En 10, Me 3 : ->10"},
    {8, {3, 9, 0}, "(8) Атака 8. En 3, Me 9 : ->10"},
    {9, {3, 3, 7}, "(9) Атака 9. En 3, Me 3, El 7 : ->10"},
    {10, {11, 4, 2}, "(10) Атака2 1. En 11, Me 4, El 2 : ->14"},
    {11, {5, 11, 2}, "(11) Атака2 2. En 5, Me 11, El 2 : ->15"},
    {12, {12, 5, 2}, "(12) Атака2 3. En 12, Me 5, El 2  : ->25, <-10"},
    {13, {14, 5, 2}, "(13) Атака2 4. En 14, Me 5, El 2 : ->17"},
    {14, {6, 12, 3}, "(14) Атака2 5. En 6, Me 12, El 3 : ->18"},
    {15, {5, 0, 0}, "(15) Ремонт 1. En 5 : SS+7"},
    {16, {9, 0, 2}, "(16) Ремонт 2. En 9, El 2 : SS+11"},
    {17, {14, 0, 3}, "(17) Ремонт 3. En 14, El 3 : SS+16"},
    {18, {0, 7, 2}, "(18) Ремонт 4. Me 7, El 2 : SB+9"},
    {19,
     {5, 4, 0},
     "(19) Ремонт 5. En 5, Me 4 : Увеличение брони базы за счёт щита, в соотношении 2:1 (используется не "
     "более 6 ед. щита)"},
    {20, {0, 8, 5}, "(20) Ремонт 6. Me 8, El 5 : SB+12"},
    {21, {0, 5, 10}, "(21) Ремонт 7. Me 5, El 10 : SB+14"},
    {22, {16, 14, 0}, "(22) Ремонт 8. En 16, Me 14 : SS+15, SB+14"},
    {23, {0, 2, 2}, "(23) СпецАтака 1. Me 2, El 2 : Base-3"},
    {24, {3, 3, 5}, "(24) СпецАтака 2. En 3, Me 3, El 5 : Base-7"},
    {25, {2, 5, 3}, "(25) СпецАтака 3. En 2, Me 5, El 3 : Base-7"},
    {26,
     {4, 0, 3},
     "(26) СпецАтака 4. En 4, El 3 : Уменьшение щита (максимум 7 ед.) и прямая атака вражеской базы по "
     "формуле 1+2*(Кол-во ед. щита)"},
    {27, {0, 3, 4}, "(27) СпецАтака 5. Me 3, El 4 : Если вражеский щит равен 0, то Base-11"},
    {28, {17, 5, 0}, "(28) СуперАтака 1. En 17, Me 5 : Base-10, Shield-10"},
    {29, {16, 14, 6}, "(29) СуперАтака 2. En 16, Me 14, El 6 : Base-20, Shield-15"},
    {30, {18, 12, 2}, "(30) СуперАтака 3. En 18, Me 12, El 2 : ->49, <-20"},
    {31, {26, 16, 10}, "(31) СуперАтака 4. En 26, Me 16, El 10 : ->49"},
    {32, {16, 12, 6}, "(32) СуперАтака 5. En 16, Me 12, El 6: ->25, Base-5"},
    {33, {4, 4, 7}, "(33) Развитие 1. En 4, Me 4, El 7 : Батареи+1"},
    {34, {6, 4, 5}, "(34) Развитие 2. En 6, Me 4, El 5 : Рудники+1"},
    {35, {4, 9, 2}, "(35) Развитие 3. En 4, Me 9, El 2 : Лаборатории+1"},
    {36, {10, 8, 10}, "(36) Развитие 4. En 10, Me 8, El 10 : Батареи+1, Рудники+1"},
    {37, {3, 15, 3}, "(37) Развитие 5. En 3, Me 15, El 3 : Лаборатории+1, SB+7"},
    {38,
     {15, 0, 0},
     "(38) Развитие 6. En 15 : Преобразование до 18 ед. металла в электроэлементы, в соотношении 1 Me = 2 "
     "El"},
    {39, {3, 0, 0}, "(39) Развитие 7. En 3 : Преобразование до 15 ед. электроэлементов в металл."},
    {40, {4, 0, 0}, "(40) Развитие 8. En 4 : Преобразование до 18 ед. металла в электроэлементы."},
    {41, {4, 0, 4}, "(41) Шпионаж 1. En 4, El 4 : Похищение до 5 ед. металла у врага"},
    {42, {4, 4, 0}, "(42) Шпионаж 2. En 4, Me 4 : Похищение до 5 ед. эллектроэлементов у врага"},
    {43,
     {2, 5, 7},
     "(43) Шпионаж 3. En 2, Me 5, El 7 : Shield-7, если щит меньше 7, то похищение до 5 ед. энергии"},
    {44, {6, 2, 12}, "(44) Шпионаж 4. En 6, Me 2, El 12 : Если у врага больше 2-х рудников, то -1 рудник"},
    {45, {2, 6, 12}, "(45) Шпионаж 5. En 2, Me 6, El 12 : Если у врага больше 3-х батарей, то -1 батарея"},
    {46,
     {3, 7, 16},
     "(46) Шпионаж 6. En 3, Me 7, El 16 : ->15, уничтоженные ед. щита переходят в вашу энергию"},
    {47,
     {8, 4, 20},
     "(47) Шпионаж 7. En 8, Me 4, El 20 : Shield-15, если щит меньше 15 ед., то похищение до 20 ед. металла, "
     "иначе уничтожение до 20 единиц металла у врага"},
    {48,
     {12, 4, 20},
     "(48) Шпионаж 8. En 12, Me 4, El 20 : Base-15, если вражеский щит меньше 15 ед., то похищение до 22 ед. "
     "энергии, иначе уничтожение до 22 ед. энергии у врага"},
    {49,
     {4, 5, 20},
     "(49) Шпионаж 9. En 4, Me 5, El 20 : Shield-10, если щит меньше 10, то похищение до 20 "
     "эллектроэлементов"},
    {50, {0, 0, 0}, "(50) Пропуск хода. En+1, Me+1, El+1"},
};

namespace card_rows_checks {

static_assert(std::size(CardRows) == CardCount, "the catalogue has one row per card");

// True when Text begins with "(Card) ".
constexpr bool StartsWithCardNumber(std::string_view Text, int32_t Card) {
    std::array<char, 6> Prefix{};
    std::size_t Length = 0;
    Prefix[Length++] = '(';
    if (Card >= 10) Prefix[Length++] = static_cast<char>('0' + Card / 10);
    Prefix[Length++] = static_cast<char>('0' + Card % 10);
    Prefix[Length++] = ')';
    Prefix[Length++] = ' ';
    return Text.starts_with(std::string_view(Prefix.data(), Length));
}

constexpr bool RowsAreInCardOrder() {
    for (int32_t Index = 0; Index < CardCount; ++Index) {
        const TCardRow &Row = CardRows[Index];
        if (Row.Card != Index + 1 || !StartsWithCardNumber(Row.Description, Row.Card)) return false;
        if (Row.Cost.Energy < 0 || Row.Cost.Metal < 0 || Row.Cost.Elements < 0) return false;
    }
    return true;
}
static_assert(RowsAreInCardOrder(),
              "rows are numbered 1..50, each text begins with \"(N) \", costs are >= 0");

}  // namespace card_rows_checks

}  // namespace velkaran
