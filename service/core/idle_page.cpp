#include "idle_page.h"

#include "plain_text.h"

namespace qb::service {

std::string idlePage(const std::vector<std::string>& sourceNames, const std::string& settingsFile) {
    std::string page =
        "<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<title>Quillbrook</title>\n<style>\n"
        "html,body{height:100%;margin:0;}\n"
        "body{background:#f0f0f0;font-family:Arial,sans-serif;color:#555;display:flex;"
        "align-items:center;justify-content:center;}\n"
        ".card{text-align:center;max-width:340px;padding:24px;}\n"
        "h1{font-size:18px;font-weight:normal;color:#333;margin:0 0 10px;}\n"
        "p{font-size:12px;line-height:1.5;margin:6px 0;}\n"
        ".hint{color:#888;}\ncode{font-size:11px;color:#333;word-break:break-all;}\n"
        "</style>\n</head>\n<body>\n<div class=\"card\">\n";
    page += "<h1>Информация о раздаче</h1>\n";
    page += "<p>Выберите торрент в списке сервера или результат поиска, и здесь появятся постер "
            "и описание раздачи.</p>\n";
    if (sourceNames.empty()) {
        page += "<p><b>Источники поиска не настроены.</b></p>\n"
                "<p class=\"hint\">Добавьте в файл настроек службы поиска <code>" +
                escapeHtml(settingsFile) +
                "</code> строку <code>torznab = адрес API индексатора с параметром apikey</code> "
                "(Jackett, Prowlarr) или <code>torrserver = http://127.0.0.1:8090</code>: "
                "служба прочтёт файл при следующем поиске.</p>\n";
    } else {
        page += "<p class=\"hint\">Поиск идёт по источникам:</p>\n";
        for (const std::string& name : sourceNames) {
            page += "<p><code>" + escapeHtml(name) + "</code></p>\n";
        }
    }
    page += "</div>\n</body>\n</html>\n";
    return page;
}

} // namespace qb::service
