#pragma once

#include <string>
#include <utility>
#include <vector>

namespace torrserver {

// A multipart part as the upload reads it: its field, its file name ("" for a value) and its
// bytes.
struct FormPart {
    std::string field;
    std::string filename;
    std::string content;
};

// The fields of today's server's /torrent/upload form: every file part is a torrent, "save"
// counts by its presence, "title", "category", "poster" and "data" by their first value.
struct UploadForm {
    bool save = false;
    std::string title, category, poster, data;
    std::vector<std::string> torrents; // the files' bytes, in the form's order
};

UploadForm readUploadForm(const std::vector<FormPart>& parts);

} // namespace torrserver
