// How bots are named where several are shown together: by the names they report, and by their
// files where two report the same name.
#pragma once

#include <string>
#include <vector>

namespace velkaran {

// A bot as the tables know it: the name it reported and its library's file as given.
struct TBotNaming {
    std::string Name;
    std::string File;
};

// "Name (file.so)": Name beside the file name of File.
std::string NameWithFile(const std::string &Name, const std::string &File);

// Each of Bots as shown beside the others: its name, or NameWithFile when another of them reports
// the same name (with the whole File when even the file names are alike).
std::vector<std::string> DistinctNames(const std::vector<TBotNaming> &Bots);

}  // namespace velkaran
