#include "save/ui/TargetFilePresenter.h"

#include "save/TargetFileChoice.h"
#include "save/TargetPath.h"
#include "save/TargetRecord.h"

namespace sorvella {

namespace {

constexpr std::int32_t kHelpTopic = 186;

} // namespace

TargetFilePresenter::TargetFilePresenter(TargetFileView& view, const SaveTarget& target,
                                         const CodecCatalogue& catalogue, SaveAsWindows windows,
                                         HelpTopicOpener help)
    : m_view(view), m_target(copyTarget(target)), m_catalogue(catalogue), m_windows(windows),
      m_help(std::move(help))
{
}

void TargetFilePresenter::open()
{
    m_view.showFileName(m_target.fileName);
}

void TargetFilePresenter::copyExample(std::size_t index)
{
    readName();
    m_target.fileName =
        nameFromExample(m_target.fileName, std::string(kExampleTemplates.at(index)));
    m_view.showFileName(m_target.fileName);
}

void TargetFilePresenter::browse()
{
    readName();
    chooseTargetFile(m_target, m_catalogue, m_windows, OverwriteCheck::Skip);
    m_view.showFileName(m_target.fileName);
}

void TargetFilePresenter::installedCodecs()
{
    m_view.showInstalledCodecs(m_target.codecNumber);
}

SaveTarget TargetFilePresenter::accept()
{
    readName();
    return m_target;
}

void TargetFilePresenter::help() const
{
    m_help(kHelpTopic);
}

void TargetFilePresenter::readName()
{
    m_target.fileName = normaliseFileName(m_view.fileName());
}

} // namespace sorvella
