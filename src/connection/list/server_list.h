#pragma once

#include <nlohmann/json.hpp>

#include <QByteArray>

namespace qb::connection {
// What the list answer of "/torrent/list" turned out to be.
enum class ListAnswerKind {
    Array, // the torrent entries, in `array`
    NotArray, // valid JSON of another kind: "Не удается разобрать ответ сервера"
    NotJson, // no JSON at all: "Сервер вернул неверные данные"
};

struct ListParseOutcome {
    ListAnswerKind kind = ListAnswerKind::NotJson;
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
};

// Parses the answer body (UTF-8) of the list request. Members keep their received order. An
// answer nesting deeper than kMaxJsonAnswerDepth counts as not JSON.
ListParseOutcome parseServerList(const QByteArray& answer);

// Sorts the entries in place, ascending by each entry's compact JSON text (members in received
// order), compared as plain UTF-16 code units: no locale, upper and lower case distinct.
void sortServerList(nlohmann::ordered_json& array);
} // namespace qb::connection
