#pragma once

#include <string>

namespace sorvella {

// A target file name in its three parts: the folder up to and including its
// last "/", the stem and the extension with its dot (empty when the last
// component has none; a leading dot starts a hidden name, not an extension).
// Only the last component can hold the extension, so "a.b/take" has none.
struct FileNameParts {
    std::string folder;
    std::string stem;
    std::string extension;
};

FileNameParts splitFileName(const std::string& name);

// The form every assigned target name takes: "\" becomes "/", "~/" stands for
// the home folder, other relative names are made absolute against the
// current folder. Absolute and empty names keep their form; when the home or
// current folder cannot be found the name is left as it is.
std::string normaliseFileName(std::string name);

// The name with its extension replaced by `suffix` (".wav"), or with `suffix`
// appended when it has none.
std::string withExtension(const std::string& name, const std::string& suffix);

// The next name of the "(n)" series: "take.wav" gives "take (1).wav",
// "take (7).wav" gives "take (8).wav"; a name without an extension is
// numbered the same way ("take (1)").
std::string nextNumberedName(const std::string& name);

// A template put in place of the current name's stem, keeping its folder and
// its extension; a name without a folder takes the home folder. Normalised.
std::string nameFromExample(const std::string& currentName, const std::string& nameTemplate);

} // namespace sorvella
