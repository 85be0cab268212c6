#include "save/ui/QtSaveFileDialog.h"

#include <QFileDialog>
#include <QStringList>

namespace sorvella {

std::optional<SaveFileDialog::Choice> QtSaveFileDialog::choose(const Request& request)
{
    QFileDialog dialog(m_parent, QStringLiteral("Save As"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);

    QStringList filters;
    for (const FileTypeFilter& filter : request.filters) {
        filters.append(QString::fromStdString(filterText(filter)));
    }
    dialog.setNameFilters(filters);
    if (request.selectedFilter < static_cast<std::size_t>(filters.size())) {
        dialog.selectNameFilter(filters.at(static_cast<qsizetype>(request.selectedFilter)));
    }
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    if (!request.initialName.empty()) {
        dialog.selectFile(QString::fromStdString(request.initialName));
    }

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const qsizetype filter = filters.indexOf(dialog.selectedNameFilter());
    return Choice{dialog.selectedFiles().constFirst().toStdString(),
                  filter < 0 ? 0 : static_cast<std::size_t>(filter)};
}

} // namespace sorvella
