// The progress page; see LxProgressPage.h.
#include "shell/LxProgressPage.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "core/Path.h"
#include "core/TextCodec.h"
#include "media/LxSaveFile.h"
#include "reading/LxLetters.h"
#include "shell/LxChildren.h"
#include "shell/LxTHistory.h"
#include "shell/LxUserRecords.h"

namespace {

// The chart's size and plot area, in SVG units.
constexpr int kWidth = 720, kHeight = 320;
constexpr int kLeft = 48, kRight = 700, kTop = 20, kBottom = 260;
constexpr int kMaxLevel = 100;
const char* const kColours[] = {"#c0392b", "#2471a3", "#229954", "#d68910", "#7d3c98",
                                "#17a589", "#a04000", "#2e4053", "#b7950b"};
std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '"')
            out += "&quot;";
        else
            out += c;
    }
    return out;
}

// The page is put together in the program's text and becomes UTF-8 as a whole; links
// are made of escaped UTF-8 file names, so they pass unchanged.

// A path part as a link: UTF-8 with everything but letters, digits and ".-_" escaped.
std::string UrlPart(const std::string& utf8) {
    std::string out;
    for (unsigned char c : utf8) {
        if (std::isalnum(c) || c == '.' || c == '-' || c == '_') {
            out += char(c);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            out += hex;
        }
    }
    return out;
}

std::string Folder(int date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d.%02d.%02d", date / 10000 % 10000, date / 100 % 100,
                  date % 100);
    return text;
}

std::string LongDate(int date) {
    int month = date / 100 % 100;
    char text[64];
    std::snprintf(text, sizeof text, "%d. %s %d.", date / 10000 % 10000, MonthName(month),
                  date % 100);
    return text;
}

// The recordings of a day: file names (UTF-8) of the ".wav" files, sorted.
std::vector<std::string> Recordings(const char* user, int date) {
    std::vector<std::string> names;
    char folder[256];
    if (!*MakeUserPath(folder, user, date)) return names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(RecordOsPath(folder), error)) {
        std::string name = entry.path().filename().string();
        if (name.size() > 4 && strcasecmp(name.c_str() + name.size() - 4, ".wav") == 0)
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

struct Day {
    int date;
    int values[kTaskValues];
    char letters[kHistoryLetters];
};

// The tasks practised on any day, in the therapy letter order.
std::vector<int> PractisedTasks(const std::vector<Day>& days) {
    std::vector<int> tasks;
    const unsigned char* order = TherapyOrder();
    int n = int(std::strlen(reinterpret_cast<const char*>(order)));
    for (int k = 1; k < n && k < kTaskValues; ++k)
        for (const Day& day : days)
            if (std::strchr(day.letters, char(order[k]))) {
                tasks.push_back(k);
                break;
            }
    return tasks;
}

int X(size_t day, size_t days) {
    return days < 2 ? (kLeft + kRight) / 2 : kLeft + int(day * (kRight - kLeft) / (days - 1));
}

int Y(int value) {
    int level = std::clamp(value & kTaskValueMask, 0, kMaxLevel);
    return kBottom - level * (kBottom - kTop) / kMaxLevel;
}

std::string Chart(const std::vector<Day>& days, const std::vector<int>& tasks) {
    std::string svg;
    char line[256];
    std::snprintf(line, sizeof line,
                  "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 %d %d\" role=\"img\" "
                  "aria-label=\"A gyakorolt hangok szintje napról napra\">\n",
                  kWidth, kHeight);
    svg += line;
    for (int level = 0; level <= kMaxLevel; level += 25) {
        std::snprintf(line, sizeof line,
                      "<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" class=\"grid\"/>"
                      "<text x=\"%d\" y=\"%d\" class=\"tick\" text-anchor=\"end\">%d</text>\n",
                      kLeft, Y(level), kRight, Y(level), kLeft - 6, Y(level) + 4, level);
        svg += line;
    }
    for (size_t d = 0; d < days.size(); ++d) {
        std::snprintf(line, sizeof line,
                      "<text x=\"%d\" y=\"%d\" class=\"date\" text-anchor=\"end\" "
                      "transform=\"rotate(-40 %d %d)\">%02d.%02d.</text>\n",
                      X(d, days.size()), kBottom + 16, X(d, days.size()), kBottom + 16,
                      days[d].date / 100 % 100, days[d].date % 100);
        svg += line;
    }
    const unsigned char* order = TherapyOrder();
    for (size_t t = 0; t < tasks.size(); ++t) {
        int k = tasks[t];
        const char* colour = kColours[t % std::size(kColours)];
        std::string points;
        for (size_t d = 0; d < days.size(); ++d)
            points += std::to_string(X(d, days.size())) + "," +
                      std::to_string(Y(days[d].values[k])) + " ";
        std::snprintf(line, sizeof line,
                      "<polyline class=\"sound\" data-sound=\"%s\" fill=\"none\" stroke=\"%s\" "
                      "stroke-width=\"2.5\" points=\"",
                      Escape(EncodeLetter(order[k])).c_str(), colour);
        svg += line + points + "\"/>\n";
        for (size_t d = 0; d < days.size(); ++d) {
            if (!std::strchr(days[d].letters, char(order[k]))) continue;
            // Each sound's marks are smaller than the one's before, so equal levels all show.
            std::snprintf(line, sizeof line,
                          "<circle cx=\"%d\" cy=\"%d\" r=\"%.1f\" fill=\"%s\"/>\n",
                          X(d, days.size()), Y(days[d].values[k]),
                          std::max(7.0 - 1.5 * double(t), 2.5), colour);
            svg += line;
        }
    }
    return svg + "</svg>\n";
}

} // namespace

std::string MakeProgressPage(const CLxTHistory& history, const char* user) {
    std::vector<Day> days;
    for (int i = 0; i < history.GetCount(); ++i) {
        Day day{};
        history.GetEntry(i, &day.date, day.values, day.letters);
        days.push_back(day);
    }
    std::vector<int> tasks = PractisedTasks(days);
    std::string name = Escape(CodesToText(user));
    std::string page =
        "<!DOCTYPE html>\n<html lang=\"hu\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<title>" +
        name +
        " - haladás</title>\n<style>\n"
        "@page { size: A4; margin: 15mm; }\n"
        "body { font-family: 'DejaVu Serif', serif; color: #222; max-width: 180mm; margin: 0 auto; "
        "padding: 6mm 0; }\n"
        "h1 { font-size: 20pt; margin: 0 0 4mm; }\n"
        "svg { width: 100%; height: auto; border: 1px solid #ccc; }\n"
        ".grid { stroke: #ddd; } .tick, .date { font-size: 11px; fill: #555; }\n"
        ".legend span { display: inline-block; margin-right: 6mm; font-weight: bold; }\n"
        "table { border-collapse: collapse; width: 100%; margin-top: 6mm; }\n"
        "td, th { border: 1px solid #999; padding: 1.5mm 3mm; text-align: left; vertical-align: "
        "top; }\n"
        "tr { page-break-inside: avoid; }\n"
        "@media print { a { color: #000; } svg { border: none; } }\n"
        "</style>\n</head>\n<body>\n<h1>" +
        name + " - haladás</h1>\n";
    if (days.empty())
        return talvik::Latin2ToUtf8(page + "<p>Még nincs terápiás nap.</p>\n</body>\n</html>\n");
    std::string first = LongDate(days.front().date), last = LongDate(days.back().date);
    page += "<p>A gyakorolt hangok szintje a terápiás napokon (" +
            (first == last ? first : first + " - " + last) +
            "). A pöttyök a gyakorlás napjait jelölik.</p>\n";
    page += "<p class=\"legend\">";
    const unsigned char* order = TherapyOrder();
    for (size_t t = 0; t < tasks.size(); ++t)
        page += std::string("<span style=\"color:") + kColours[t % std::size(kColours)] + "\">" +
                Escape(EncodeLetter(order[tasks[t]])) + "</span>";
    if (tasks.empty()) page += "Még nem volt gyakorolt hang.";
    page += "</p>\n" + Chart(days, tasks);
    page += "<table>\n<tr><th>Nap</th><th>Gyakorolt hangok</th><th>Felvételek</th></tr>\n";
    for (const Day& day : days) {
        std::string links;
        for (const std::string& file : Recordings(user, day.date)) {
            std::string word =
                (CodesToText(DoubledTextToCodes(talvik::EnginePath(file).c_str()).c_str()));
            word = word.substr(0, word.size() - 4);
            links += "<a href=\"" + UrlPart(Folder(day.date)) + "/" + UrlPart(file) + "\">" +
                     Escape(word) + "</a> ";
        }
        std::string letters; // each practised sound by its name: "s, r", not "sr"
        for (const char* code = day.letters; *code; ++code)
            letters +=
                (letters.empty() ? "" : ", ") + EncodeLetter(static_cast<unsigned char>(*code));
        page += "<tr><td>" + (LongDate(day.date)) + "</td><td>" +
                (letters.empty() ? "-" : Escape(letters)) + "</td><td>" +
                (links.empty() ? "Nincs hanganyag" : links) + "</td></tr>\n";
    }
    return talvik::Latin2ToUtf8(page + "</table>\n</body>\n</html>\n");
}

bool SaveProgressPage(const CLxTHistory& history, const char* user) {
    char folder[256];
    if (!user || !*user || !*MakeUserPath(folder, user, -2)) return false;
    CLxSaveFile file((std::string(folder) + "\\haladas.html").c_str());
    if (!file.IsOpen()) return false;
    file.Write(MakeProgressPage(history, user));
    return file.Commit();
}
