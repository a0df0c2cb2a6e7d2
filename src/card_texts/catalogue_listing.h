// The whole card catalogue for bot authors: a table for a terminal and the same as JSON data.
#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace velkaran {

// The catalogue as lines of text (UTF-8): per card its number, its three costs and its name in
// Russian and English, then what it does in words, in Russian and in English.
std::vector<std::string> CatalogueLines();

// The catalogue as data: {"format": "velkaran-cards", "version": 1, "start": {...}, "cards": [...]}:
// each player's status at the start of a game ("base", "shield", "batteries", "mines",
// "laboratories", "energy", "metal", "elements"), and each card with
// "card", "cost" {"energy", "metal", "elements"}, "text" (the catalogue's own text), "name" and
// "effect" (each {"ru", "en"}).
nlohmann::json CatalogueJson();

}  // namespace velkaran
