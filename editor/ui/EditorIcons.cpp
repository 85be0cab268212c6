#include "editor/ui/EditorIcons.h"

// Resources of a static library must be registered by hand; the macro only
// works outside a namespace.
static void initEditorResources()
{
    Q_INIT_RESOURCE(editor);
}

namespace sorvella {

QIcon editorIcon(const char* name)
{
    static const bool loaded = (initEditorResources(), true);
    (void)loaded;
    return QIcon(QStringLiteral(":/editor/icons/%1.svg").arg(QLatin1String(name)));
}

} // namespace sorvella
