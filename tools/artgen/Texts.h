#pragma once
// The game's texts (strings.txt) and its sound list (sounds.txt), with the list of sound files
// the sound list names.
#include <string>
#include <vector>

namespace artgen {

struct TDialogText {
    std::string Name; // "Exit", "New", ...
    std::string Caption;
    std::vector<std::string> Lines;
};

class TTexts {
public:
    // English, with the texts of `language` wherever it has them (texts are UTF-8).
    explicit TTexts(const std::string& language = "en");
    std::string StringsFile() const; // the whole strings.txt, Windows-1252, "\r\n" line ends
    const std::string& Caption(const std::string& dialog) const;
    const std::vector<std::string>& Lines(const std::string& dialog) const;
    const std::vector<TDialogText>& Dialogs() const { return dialogs_; }
    // The text of a "$" key; empty for an unknown key.
    const std::string& String(const std::string& key) const;
    // The lines of a "@" key; none for an unknown key.
    const std::vector<std::string>* List(const std::string& key) const;
    // The keys a language gives texts for: the string keys, "<dialog>_Caption", "<dialog>_Text".
    std::vector<std::string> Keys() const;

private:
    void Translate(const std::string& language);

    std::vector<std::pair<std::string, std::string>> strings_;
    std::vector<TDialogText> dialogs_;
    std::vector<std::pair<std::string, std::vector<std::string>>> lists_;
};

// One line of the sound list.
struct TSoundEntry {
    std::string Name; // "s_app", "_a1", ...
    std::string File; // "sounds/appear.ogg": relative to the data folder
};

// Every entry of the sound list, in file order.
std::vector<TSoundEntry> SoundList();
// sounds.txt: name TAB "./" + file TAB "1.0", "\r\n" line ends.
std::string SoundsFile();

} // namespace artgen
