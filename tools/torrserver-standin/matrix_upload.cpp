// POST /torrent/upload: .torrent files, saved only with a "save" field; one status object for
// one file, an array for several (null for none that parsed).
#include "matrix_upload.h"

#include "matrix_load.h"
#include "matrix_routes.h"
#include "matrix_status.h"

namespace torrserver {

UploadForm readUploadForm(const std::vector<FormPart>& parts) {
    UploadForm form;
    struct Value {
        const char* name;
        std::string* target;
        bool seen = false;
    };
    Value values[] = {{"title", &form.title},
                      {"category", &form.category},
                      {"poster", &form.poster},
                      {"data", &form.data}};
    for (const FormPart& part : parts) {
        if (!part.filename.empty()) {
            form.torrents.push_back(part.content);
            continue;
        }
        form.save = form.save || part.field == "save";
        for (Value& value : values) {
            if (!value.seen && part.field == value.name) {
                *value.target = part.content;
                value.seen = true;
            }
        }
    }
    return form;
}

void matrixUpload(App& app, const Request& req, Response& res, const AuthState&) {
    if (!req.is_multipart_form_data()) {
        sendStatus(res, 400);
        return;
    }
    std::vector<FormPart> parts;
    for (const auto& [field, part] : req.files) {
        parts.push_back({field, part.filename, part.content});
    }
    const UploadForm form = readUploadForm(parts);
    Json statuses = Json::array();
    for (const std::string& bytes : form.torrents) {
        const MetaResult parsed = parseTorrentBytes(bytes);
        if (!parsed.ok) {
            continue; // the server skips a file it cannot read
        }
        const LoadedTorrent torrent =
            matrixAddTorrent(app, parsed.meta, {form.title, form.poster, form.data, form.category},
                             matrixOnInfo(form.save, false));
        statuses.push_back(matrixStatus(torrent, app.preloads.state(parsed.meta.hash)));
    }
    if (statuses.size() == 1) {
        sendGinJson(res, statuses[0]);
    } else {
        sendGinJson(res, statuses.empty() ? Json(nullptr) : statuses);
    }
}

} // namespace torrserver
