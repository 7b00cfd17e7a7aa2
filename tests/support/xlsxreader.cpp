#include "tests/support/xlsxreader.h"

#include <QString>
#include <QXmlStreamReader>

#include <unzip.h>

namespace xlsx {

namespace {

std::string Attr(const QXmlStreamReader& r, const char* name) {
    return r.attributes().value(QString::fromLatin1(name)).toString().toStdString();
}

} // namespace

std::map<std::string, std::string> Unzip(const std::string& file) {
    std::map<std::string, std::string> parts;
    unzFile zip = unzOpen(file.c_str());
    if (zip == nullptr) return parts;
    for (int rc = unzGoToFirstFile(zip); rc == UNZ_OK; rc = unzGoToNextFile(zip)) {
        char name[512];
        unz_file_info info;
        if (unzGetCurrentFileInfo(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK) break;
        if (unzOpenCurrentFile(zip) != UNZ_OK) break;
        std::string data(info.uncompressed_size, '\0');
        const int n = unzReadCurrentFile(zip, data.data(), static_cast<unsigned>(data.size()));
        unzCloseCurrentFile(zip);
        if (n >= 0) data.resize(static_cast<std::size_t>(n));
        parts[name] = data;
    }
    unzClose(zip);
    return parts;
}

Book Read(const std::string& file) {
    Book book;
    book.parts = Unzip(file);

    std::vector<std::string> shared;
    {
        QXmlStreamReader r(QByteArray::fromStdString(book.parts["xl/sharedStrings.xml"]));
        std::string current;
        bool inSi = false;
        while (!r.atEnd()) {
            r.readNext();
            if (r.isStartElement() && r.name() == u"si") inSi = true, current.clear();
            if (r.isStartElement() && r.name() == u"t" && inSi) current += r.readElementText().toStdString();
            if (r.isEndElement() && r.name() == u"si") inSi = false, shared.push_back(current);
        }
    }
    {
        QXmlStreamReader r(QByteArray::fromStdString(book.parts["xl/styles.xml"]));
        std::map<int, std::string> numFmts;
        std::vector<std::string> fills;
        std::string section;
        while (!r.atEnd()) {
            r.readNext();
            if (!r.isStartElement()) continue;
            const auto name = r.name().toString().toStdString();
            if (name == "numFmts" || name == "fills" || name == "cellXfs" || name == "cellStyleXfs")
                section = name;
            if (name == "numFmt") numFmts[std::stoi(Attr(r, "numFmtId"))] = Attr(r, "formatCode");
            if (name == "fill") fills.emplace_back();
            if (name == "fgColor" && section == "fills" && !fills.empty()) fills.back() = Attr(r, "rgb");
            if (name == "xf" && section == "cellXfs") {
                Style s;
                s.numFmtId = std::stoi(Attr(r, "numFmtId"));
                s.numFmt = numFmts.count(s.numFmtId) != 0 ? numFmts[s.numFmtId] : std::string();
                const auto fill = static_cast<std::size_t>(std::stoi(Attr(r, "fillId")));
                s.fill = fill < fills.size() ? fills[fill] : std::string();
                book.styles.push_back(s);
            }
        }
    }
    {
        QXmlStreamReader r(QByteArray::fromStdString(book.parts["xl/workbook.xml"]));
        while (!r.atEnd()) {
            r.readNext();
            if (r.isStartElement() && r.name() == u"sheet") book.sheetNames.push_back(Attr(r, "name"));
        }
    }
    {
        QXmlStreamReader r(QByteArray::fromStdString(book.parts["xl/worksheets/sheet1.xml"]));
        std::string ref;
        while (!r.atEnd()) {
            r.readNext();
            if (!r.isStartElement()) continue;
            const auto name = r.name().toString().toStdString();
            if (name == "pane") {
                for (const auto& a : r.attributes()) {
                    book.pane[a.name().toString().toStdString()] = a.value().toString().toStdString();
                }
            } else if (name == "col") {
                Column c;
                c.min = std::stoi(Attr(r, "min"));
                c.max = std::stoi(Attr(r, "max"));
                c.width = std::stod(Attr(r, "width"));
                const auto style = Attr(r, "style");
                c.style = style.empty() ? 0 : std::stoi(style);
                c.customWidth = Attr(r, "customWidth") == "1";
                book.columns.push_back(c);
            } else if (name == "c") {
                ref = Attr(r, "r");
                Cell c;
                c.type = Attr(r, "t");
                const auto style = Attr(r, "s");
                c.style = style.empty() ? 0 : std::stoi(style);
                book.cells[ref] = c;
            } else if (name == "v") {
                Cell& c = book.cells[ref];
                c.value = r.readElementText().toStdString();
                if (c.type == "s") c.value = shared.at(static_cast<std::size_t>(std::stoi(c.value)));
            }
        }
    }
    return book;
}

} // namespace xlsx
