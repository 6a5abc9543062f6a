#include "lists/removal_failure.h"

#include "app/tform1.h"
#include "connection/http/http_result.h"

using namespace Qt::Literals::StringLiterals;

namespace qb::lists {
void reportFailedRemoval(TForm1& form, const qb::net::HttpResult& answer) {
    if (answer.failure == qb::net::FailureKind::Connection) {
        form.message(u"Что-то пошло не так, попробуйте позже"_s, u"Ошибка"_s,
                     qb::platform::MessageIcon::Error);
    } else {
        form.message(answer.failureText, form.windowTitle(), qb::platform::MessageIcon::Error);
    }
}
} // namespace qb::lists
