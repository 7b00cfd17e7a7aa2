#pragma once
// Test helper: reads back an .xlsx file written by the spreadsheet server,
// independently of the library that wrote it: the zip through minizip, the
// XML parts through Qt's stream reader. Only the parts the tests look at.

#include <map>
#include <string>
#include <vector>

namespace xlsx {

struct Cell {
    std::string type;  // "" or "n" (number), "s" (shared string), "b", "str", ...
    std::string value; // the <v> text; for "s" the string itself
    int style = 0;
};

struct Column {
    int min = 0;
    int max = 0;
    double width = 0;
    int style = 0;
    bool customWidth = false;
};

struct Style {
    int numFmtId = 0;
    std::string numFmt; // the code of a custom format
    std::string fill;   // ARGB of a solid fill, empty for none
};

struct Book {
    std::map<std::string, std::string> parts; // part name -> bytes
    std::map<std::string, Cell> cells;        // "A1" -> cell of the first sheet
    std::vector<Column> columns;
    std::map<std::string, std::string> pane; // attributes of the first sheet's <pane>
    std::vector<Style> styles;               // by cell style index
    std::vector<std::string> sheetNames;

    const Style& StyleOf(const std::string& ref) const {
        static const Style none;
        const auto it = cells.find(ref);
        const int s = it == cells.end() ? 0 : it->second.style;
        return s >= 0 && s < static_cast<int>(styles.size()) ? styles[static_cast<std::size_t>(s)] : none;
    }
};

// Every part of the zip file by name; empty when the file is no zip.
std::map<std::string, std::string> Unzip(const std::string& file);
Book Read(const std::string& file);

} // namespace xlsx
