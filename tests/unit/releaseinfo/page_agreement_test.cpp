// The page builder against the page as its behaviour describes it, written plainly and apart
// from the builder (under reference::), on the stand-in service's release pages and many
// generated and mutated answers: every step and the whole page must agree character for
// character.
#include "reference_page_steps.h"
#include "releaseinfo/page/page_fields.h"
#include "releaseinfo/page/page_pictures.h"
#include "releaseinfo/page/page_text.h"
#include "releaseinfo/page/release_page.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

namespace rp = qb::releaseinfo;

const rp::PageHosts kHosts{u"http://127.0.0.1:8091"_s, u"img.tracker.example"_s,
                           u"www.filmdb.example"_s};

bool sameFields(const rp::PageFields& a, const rp::PageFields& b) {
    return a.title == b.title && a.year == b.year && a.country == b.country &&
           a.director == b.director && a.genre == b.genre && a.actors == b.actors &&
           a.duration == b.duration && a.translation == b.translation &&
           a.subtitles == b.subtitles && a.video == b.video && a.audio == b.audio &&
           a.seeders == b.seeders && a.leechers == b.leechers && a.description == b.description &&
           a.added == b.added && a.size == b.size;
}

bool samePictures(const rp::PagePictures& a, const rp::PagePictures& b) {
    return a.magnet == b.magnet && a.posterUrl == b.posterUrl && a.posterHtml == b.posterHtml &&
           a.imdbHtml == b.imdbHtml && a.filmDbHtml == b.filmDbHtml &&
           a.screenshotsHtml == b.screenshotsHtml;
}

// Every step, then the whole page, against the reference; the first difference fails.
void expectAgreement(const QString& answer) {
    const QString stripped = rp::reference::strippedLines(answer);
    ASSERT_EQ(rp::strippedLines(answer), stripped) << answer.left(400).toStdString();
    const QString captioned = rp::reference::captionedLines(stripped);
    ASSERT_EQ(rp::captionedLines(stripped), captioned) << stripped.left(400).toStdString();
    ASSERT_TRUE(sameFields(rp::pageFields(captioned, kHosts.filmDbHost),
                           rp::reference::pageFields(captioned, kHosts.filmDbHost)))
        << captioned.left(400).toStdString();
    const rp::PagePictures pictures = rp::reference::pagePictures(answer, kHosts);
    ASSERT_TRUE(samePictures(rp::pagePictures(answer, kHosts), pictures))
        << answer.left(400).toStdString();
    const rp::ReleasePage page = rp::buildReleasePage(answer, kHosts);
    ASSERT_EQ(page.html, rp::reference::releasePageHtml(answer, kHosts))
        << answer.left(400).toStdString();
    ASSERT_EQ(page.magnet, pictures.magnet);
    ASSERT_EQ(page.posterUrl, pictures.posterUrl);
}

std::vector<QString> fixtureAnswers() {
    std::vector<QString> answers;
    const QDir dir(QStringLiteral(QB_RELEASE_FIXTURES_DIR));
    for (const QString& name : dir.entryList({u"*.html"_s}, QDir::Files)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly)) {
            answers.push_back(QString::fromUtf8(file.readAll()));
        }
    }
    return answers;
}

// Pieces that meet the builder's rules: tags and bold tags in either case, every caption and
// field marker in mixed case, line breaks of each kind, blanks, bars and plain words.
const QString kPieces[] = {
    u"<"_s,
    u">"_s,
    u"<b>"_s,
    u"</b>"_s,
    u"<B>"_s,
    u"</B>"_s,
    u"<br>"_s,
    u"<BR>"_s,
    u"<br><b>"_s,
    u"\r"_s,
    u"\n"_s,
    u"\r\n"_s,
    u" "_s,
    u"\t"_s,
    u"|"_s,
    u":"_s,
    u","_s,
    u", "_s,
    u"("_s,
    u"[b]"_s,
    u"[/b]"_s,
    u"[B]"_s,
    u"раздают"_s,
    u"КАЧАЮТ"_s,
    u"Размер"_s,
    u"сидер"_s,
    u"Добавлен"_s,
    u"оценка"_s,
    u"MI"_s,
    u"mi"_s,
    u"m/I"_s,
    u"M/I"_s,
    u"Файл"_s,
    u"mediainfo"_s,
    u"[INFO]"_s,
    u"bdinfo"_s,
    u"МедиаИнфо"_s,
    u"медиаинфо"_s,
    u"Примечание"_s,
    u"категория"_s,
    u"Скриншоты"_s,
    u"Название:"_s,
    u"Оригинальное название:"_s,
    u"Название</b"_s,
    u"Страна"_s,
    u"Год выхода"_s,
    u"Год выпуска"_s,
    u"Режиссер"_s,
    u"Жанр"_s,
    u"В ролях"_s,
    u"Продолжительность"_s,
    u"Перевод"_s,
    u"Субтитры"_s,
    u"Видео"_s,
    u"Аудио"_s,
    u"Звук"_s,
    u"Описание"_s,
    u"Озвучивание"_s,
    u"О фильме"_s,
    u"О сериале"_s,
    u"серии"_s,
    u"Bytes)"_s,
    u"Иван Петров"_s,
    u"words"_s,
    u"Mediainf"_s,
    u"Разда"_s,
    u"</textarea></div>"_s,
    u"img src=\""_s,
    u"\""_s,
    u"<tr>"_s,
    u"<img"_s,
    u"imdb/pic"_s,
    u"</a>"_s,
    u"\xA0"_s,
};

QString generatedAnswer(std::mt19937& random) {
    std::uniform_int_distribution<size_t> piece(0, std::size(kPieces) - 1);
    std::uniform_int_distribution<int> count(0, 120);
    QString answer;
    for (int n = count(random); n > 0; --n) {
        answer += kPieces[piece(random)];
    }
    return answer;
}

// A fixture answer with a few pieces inserted, characters dropped and letters' case flipped.
QString mutatedAnswer(const QString& base, std::mt19937& random) {
    QString answer = base;
    std::uniform_int_distribution<size_t> piece(0, std::size(kPieces) - 1);
    for (int n = 0; n < 12 && !answer.isEmpty(); ++n) {
        const qsizetype at = std::uniform_int_distribution<qsizetype>(0, answer.size() - 1)(random);
        switch (random() % 3) {
        case 0:
            answer.insert(at, kPieces[piece(random)]);
            break;
        case 1:
            answer.remove(at, static_cast<qsizetype>(random() % 40));
            break;
        default:
            answer[at] = answer[at].isUpper() ? answer[at].toLower() : answer[at].toUpper();
        }
    }
    return answer;
}

TEST(PageAgreement, FixtureAnswers) {
    const std::vector<QString> answers = fixtureAnswers();
    ASSERT_FALSE(answers.empty());
    for (const QString& answer : answers) {
        expectAgreement(answer);
        expectAgreement(answer.toUpper());
        expectAgreement(answer.toLower());
    }
}

TEST(PageAgreement, GeneratedAnswers) {
    std::mt19937 random(11);
    for (int n = 0; n < 4000; ++n) {
        expectAgreement(generatedAnswer(random));
        if (HasFatalFailure()) {
            return;
        }
    }
}

TEST(PageAgreement, MutatedFixtureAnswers) {
    const std::vector<QString> answers = fixtureAnswers();
    ASSERT_FALSE(answers.empty());
    std::mt19937 random(7);
    for (int n = 0; n < 600; ++n) {
        expectAgreement(mutatedAnswer(answers[static_cast<size_t>(n) % answers.size()], random));
        if (HasFatalFailure()) {
            return;
        }
    }
}

} // namespace
