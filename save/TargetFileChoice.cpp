#include "save/TargetFileChoice.h"

#include "core/Prompter.h"
#include "core/RecException.h"
#include "save/Codec.h"
#include "save/CodecCatalogue.h"
#include "save/FileNameTemplate.h"
#include "save/FormatLabels.h"
#include "save/TargetPath.h"
#include "save/TargetRecord.h"

namespace sorvella {

namespace {

constexpr std::int32_t kMostListedFormats = 899;
constexpr std::int32_t kMostChosenFormats = 99;
constexpr std::int32_t kMostCodecNumbers = 99;

// The file type list and, for each entry, the catalogue number of the codec
// that choosing it switches to (0: the target keeps its codec).
struct FileTypeList {
    std::vector<FileTypeFilter> filters;
    std::vector<std::int32_t> switchesTo;
    // Entries 0 .. ownEntries - 1 are plain WAV and the target codec's formats.
    std::size_t ownEntries = 0;

    void add(FileTypeFilter filter, std::int32_t codecNumber)
    {
        filters.push_back(std::move(filter));
        switchesTo.push_back(codecNumber);
    }
};

bool codecWorks(Codec& codec)
{
    try {
        codec.test();
        return true;
    } catch (const RecException&) {
        return false;
    }
}

FileTypeList fileTypes(const SaveTarget& target, const CodecCatalogue& catalogue)
{
    FileTypeList list;
    list.add({"Wave Audio", "wav"}, 0);
    if (target.codec) {
        const std::string extension = target.codec->extension();
        for (std::string& label :
             formatLabels(*target.codec, target.sourceFormat, kMostListedFormats)) {
            list.add({std::move(label), extension}, 0);
        }
    }
    list.ownEntries = list.filters.size();
    for (std::int32_t number = 1; number <= kMostCodecNumbers; ++number) {
        if (target.codec && number == target.codecNumber) {
            continue;
        }
        const std::unique_ptr<Codec> codec = catalogue.createCodec(number);
        if (codec && codecWorks(*codec)) {
            list.add({codec->fileTypeName(), codec->extension()}, number);
        }
    }
    return list;
}

// Switches the target to codec `number` and the format the user picks of it.
bool switchCodec(SaveTarget& target, std::int32_t number, const CodecCatalogue& catalogue,
                 FormatOptionChooser& formats)
{
    std::unique_ptr<Codec> codec = catalogue.createCodec(number);
    if (!codec) {
        return false;
    }
    const std::vector<std::string> labels =
        formatLabels(*codec, target.sourceFormat, kMostChosenFormats);
    if (labels.empty()) {
        return false;
    }
    const std::optional<std::int32_t> formatNumber = formats.chooseFormat(labels);
    if (!formatNumber) {
        return false;
    }
    target.codec = std::move(codec);
    target.codecNumber = number;
    target.formatNumber = *formatNumber;
    return true;
}

void adaptExtension(SaveTarget& target, Prompter& prompter)
{
    const std::string suffix = targetSuffix(target);
    if (splitFileName(target.fileName).extension == suffix) {
        return;
    }
    const std::string adapted = withExtension(target.fileName, suffix);
    prompter.ask("Filename adapted to filetype: " + target.fileName + " -> " + adapted,
                 std::string(), Prompter::Buttons::Ok, Prompter::Icon::None);
    target.fileName = adapted;
}

bool overwriteRefused(const SaveTarget& target, Prompter& prompter)
{
    return nameExists(target.fileName) &&
           prompter.ask("File " + target.fileName + " already exists. Overwrite file?",
                        "Save As...", Prompter::Buttons::YesNo,
                        Prompter::Icon::None) != Prompter::Answer::Yes;
}

} // namespace

bool chooseTargetFile(SaveTarget& target, const CodecCatalogue& catalogue,
                      const SaveAsWindows& windows, OverwriteCheck overwrite)
{
    // Worked on apart, so that a cancel after a refused overwrite still
    // leaves the target as it was.
    SaveTarget chosen = target;
    for (;;) {
        const FileTypeList types = fileTypes(chosen, catalogue);
        SaveFileDialog::Request request;
        request.filters = types.filters;
        request.selectedFilter =
            chosen.formatNumber >= 0 &&
                    static_cast<std::size_t>(chosen.formatNumber) < types.ownEntries
                ? static_cast<std::size_t>(chosen.formatNumber)
                : 0;
        request.initialName = chosen.fileName;
        request.defaultExtension = "wav";
        const std::optional<SaveFileDialog::Choice> choice = windows.files.choose(request);
        if (!choice) {
            return false;
        }
        const std::size_t entry = choice->filter < types.filters.size() ? choice->filter : 0;
        if (types.switchesTo[entry] == 0) {
            chosen.formatNumber = static_cast<std::int32_t>(entry);
        } else if (!switchCodec(chosen, types.switchesTo[entry], catalogue, windows.formats)) {
            return false;
        }
        chosen.fileName = normaliseFileName(choice->fileName);
        chosen.codecFormat.reset();
        adaptExtension(chosen, windows.prompter);
        if (overwrite == OverwriteCheck::Ask && overwriteRefused(chosen, windows.prompter)) {
            continue;
        }
        target = std::move(chosen);
        return true;
    }
}

} // namespace sorvella
