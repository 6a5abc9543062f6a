#pragma once

#include <QString>

#include <optional>

namespace qb::app {

// The settings as the program holds them: all texts, a flag being on when it is "1".
struct Settings {
    QString player;          // PlayerPath
    QString minimize;        // the Minimize setting
    QString server;          // ServerAddress
    QString localServer;     // the LocalServer setting
    QString keepLocalServer; // the KeepLocalServer setting ("0" when the file had none)
    QString serviceBaseUrl;  // ServiceBaseUrl: "Tor" after its translation
};

// The settings as read at start, with what happened to the file on the way.
struct LoadedSettings : Settings {
    // The default file could not be written; the defaults are in use for this run. The user
    // should be told once.
    bool writeFailed = false;
    // The file existed but could not be read; the defaults are in use.
    bool readFailed = false;
    // The file did not hold a settings object; its content was kept as "app.json.bad" and
    // the defaults were written and are in use.
    bool badFileKeptAside = false;
};

// The values of one save, in the file's key order ("Info" and "4zir" are fixed).
struct SaveValues {
    QString title;
    QString localServer;
    QString server;
    QString player;
    QString minimize;
    QString serviceBaseUrl;
    QString keepLocalServer;
};

// The file's text: one line, no spaces between tokens, no line break at the end, the nine
// keys in their fixed order. Values are escaped as JSON needs, so a quote or backslash typed
// into the address box cannot make the file unreadable; other values stand as they are.
QString settingsText(const SaveValues& values);

// The text of a new file. `caption` is the window caption at the time (empty at start-up).
QString defaultSettingsText(const QString& caption);

// Reads the text of the file: the first element of the array is the settings object. Nothing
// when the text is not a JSON array whose first element is an object, or when one of the
// settings holds an object or an array.
std::optional<LoadedSettings> parseSettingsText(const QString& text);

// The address box after the save's clean-up.
struct AddressCleanUp {
    QString text;
    // The box must be set to `text` (with the caret at its end).
    bool changed = false;
};

// Trimmed and less one final "/" when the trimmed text ends with "/"; `serverAddress` when the
// box is empty or holds only blanks; otherwise unchanged (surrounding blanks stay).
AddressCleanUp cleanAddressForSave(const QString& box, const QString& serverAddress);

// The values the save writes. `current` holds the settings as read at start with the current
// PlayerPath; `addressBox` is the box's text after cleanAddressForSave.
SaveValues saveValuesFor(const Settings& current, const QString& caption, bool local1Checked,
                         const QString& addressBox);

} // namespace qb::app
