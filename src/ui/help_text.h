// The rules as the help window tells them, composed from the rules and scoring code themselves.
#pragma once

#include <string>

namespace velkaran {

// The help text (UTF-8, simple HTML: headings, paragraphs, lists, one table): the goal, the card
// set, resources and buildings with their starting values, production, shield and base, hidden
// information, the move time limit, how a game and a series are scored, and the legend of the
// codes that the card descriptions use. The numbers come from the rules and the scoring code.
std::string RulesHelpHtml();

}  // namespace velkaran
