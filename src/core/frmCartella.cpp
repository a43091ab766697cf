#include "core/frmCartella.h"

#include "core/HandlerGuard.h"
#include "core/ui/Dialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QStorageInfo>

namespace {

const QString kRoot = QStringLiteral("/");

} // namespace

frmCartella::frmCartella(QLineEdit& cartellaRichieste, QWidget* parent) : QDialog(parent), cartella_(cartellaRichieste)
{
    ui.setupUi(this);
    folders_.setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    folders_.setRootPath(kRoot);
    ui.Dir1->setModel(&folders_);
    for (int c = 1; c < folders_.columnCount(); ++c) ui.Dir1->hideColumn(c);

    ui.Drive1->addItem(kRoot);
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (ui.Drive1->findText(volume.rootPath()) < 0) ui.Drive1->addItem(volume.rootPath());

    Form_Load();
    connect(ui.Drive1, &QComboBox::currentIndexChanged, this, Protetto([this] { Drive1_Change(); }));
    connect(ui.cmdOk, &QPushButton::clicked, this, Protetto([this] { cmdOk_Click(); }));
    connect(ui.cmdAnnulla, &QPushButton::clicked, this, Protetto([this] { cmdAnnulla_Click(); }));
}

void frmCartella::Form_Load()
{
    const QString folder = cartella_.text().trimmed();
    if (!folder.isEmpty() && QFileInfo::exists(folder)) {
        SetDrive(QStorageInfo(folder).rootPath());
        if (SetPath(folder)) return;
    }
    MsgBox(QStringLiteral("Attenzione la cartella predefinita non è disponibile"), vbOKOnly);
    cartella_.setText(kRoot);
    SetDrive(kRoot);
    SetPath(kRoot);
}

void frmCartella::SetDrive(const QString& root)
{
    int index = ui.Drive1->findText(root);
    if (index < 0) {
        ui.Drive1->addItem(root);
        index = ui.Drive1->count() - 1;
    }
    const QSignalBlocker quiet(ui.Drive1);
    ui.Drive1->setCurrentIndex(index);
    ui.Dir1->setRootIndex(folders_.index(root));
}

QString frmCartella::Path() const
{
    const QModelIndex current = ui.Dir1->currentIndex();
    return QDir::cleanPath(folders_.filePath(current.isValid() ? current : ui.Dir1->rootIndex()));
}

bool frmCartella::SetPath(const QString& folder)
{
    if (!QFileInfo(folder).isDir()) return false;
    const QModelIndex index = folders_.index(QDir::cleanPath(folder));
    if (!index.isValid()) return false;
    ui.Dir1->setCurrentIndex(index);
    ui.Dir1->scrollTo(index);
    return true;
}

void frmCartella::Drive1_Change()
{
    const QString root = ui.Drive1->currentText();
    ui.Dir1->setRootIndex(folders_.index(root));
    ui.Dir1->setCurrentIndex(folders_.index(root));
}

void frmCartella::cmdOk_Click()
{
    cartella_.setText(Path());
    accept();
}

void frmCartella::cmdAnnulla_Click() { reject(); }
