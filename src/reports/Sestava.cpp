#include "reports/Sestava.h"

#include "foundation/Files.h"
#include "foundation/Program.h"
#include "foundation/TextFile.h"
#include "platform/Locale.h"
#include "reports/ReportFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace lintaro {

namespace {

QString withArgument(QString message, const QString& argument) {
    return message.replace(QLatin1String("%s"), argument);
}

// The same name with the extension ".BAK".
QString backupName(const QString& path) {
    const QFileInfo info(path);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString base = dot > 0 ? name.left(dot) : name;
    return path.left(path.size() - name.size()) + base + QStringLiteral(".BAK");
}

} // namespace

// --- TSestavaD ---

int TSestavaD::DataItemCount() const {
    return DataSource ? DataSource->FieldCount() : -1;
}

int TSestavaD::FindDataItem(const QString& name) const {
    if (!DataSource)
        return -1;
    for (int i = 0; i < DataSource->FieldCount(); ++i)
        if (Locale::sameText(DataSource->FieldName(i), name))
            return i;
    return -1;
}

TFieldType TSestavaD::DataItemType(int item) {
    TFieldType type = DataSource && item >= 0 && item < DataSource->FieldCount()
                          ? DataSource->FieldDataType(item)
                          : ftUnknown;
    if (OnGetDataType)
        OnGetDataType(*this, item, type);
    return type;
}

QString TSestavaD::DataItemText(int item) {
    if (OnGetData)
        return OnGetData(*this, item);
    if (DataSource && item >= 0 && item < DataSource->FieldCount())
        return DataSource->FieldDisplayText(item);
    return {};
}

TCalcType TSestavaD::DataItem(int index) {
    if (!OnGetData && (!DataSource || index < 0 || index >= DataSource->FieldCount()))
        return {};
    TCalcType v = TCalcType::FromText(DataItemText(index));
    const TFieldType type = DataItemType(index);
    v.Kind = type == ftString || type == ftMemo ? TCalcType::ckText
             : IsNumericField(type)             ? TCalcType::ckNumber
                                                : TCalcType::ckNone;
    v.IsNull = DataSource && index >= 0 && index < DataSource->FieldCount() && DataSource->FieldIsNull(index);
    return v;
}

TCalcType TSestavaD::Parameter(int index) {
    if (index < 0 || index >= Parametry.size())
        return {};
    return TCalcType::FromText(Parametry[index]);
}

TCalcType TSestavaD::Function(int index) {
    if (index < 0 || index >= Funkce().Count())
        return {};
    return Funkce().Item(index).Value;
}

int TSestavaD::FunctionIndex(const QString& name) {
    return Funkce().IndexOf(name);
}

// --- TSestava ---

void TSestava::SetPredloha(const TPredloha& predloha) {
    TSestavaD::SetPredloha(predloha);
    if (OnSetPredloha)
        OnSetPredloha(*this);
}

int TSestava::fail(int code, const QString& message) {
    LastMessage = message;
    if (OnError)
        OnError(*this, code, message);
    return code;
}

QString TSestava::TemplatePath() {
    if (!ReportAlias.isEmpty())
        LastMessage = ReportMessages::AliasWithoutDatabase();
    if (ReportName.isEmpty())
        return {};
    if (QFileInfo(ReportName).isAbsolute())
        return ReportName;
    if (ReportDirIgnore)
        return ProgramDir() + ReportName;
    return IncludeTrailingSlash(ReportDir) + ReportName;
}

int TSestava::NactiPredlohu() {
    if (OnNactiPredlohu) {
        TPredloha predloha;
        OnNactiPredlohu(*this, predloha);
        SetPredloha(predloha);
        return ReportMessages::rrOK;
    }
    if (IsStored) {
        SetPredloha(Predloha());
        return ReportMessages::rrOK;
    }
    const QString path = TemplatePath();
    if (path.isEmpty())
        return fail(ReportMessages::rrNotLoaded, ReportMessages::NoTemplatePath());
    QString text;
    if (!QFileInfo(path).isFile() || !ReadTextFile(path, text))
        return fail(ReportMessages::rrNotLoaded, withArgument(ReportMessages::TemplateNotFound(), path));
    SetPredloha(TPredloha::FromText(text));
    return ReportMessages::rrOK;
}

int TSestava::UlozPredlohu() {
    if (OnUlozPredlohu)
        return OnUlozPredlohu(*this) ? ReportMessages::rrOK
                                     : fail(ReportMessages::rrNotSaved, ReportMessages::TemplateNotSaved());
    if (IsStored)
        return ReportMessages::rrOK;
    const QString path = TemplatePath();
    if (path.isEmpty())
        return fail(ReportMessages::rrNotSaved, ReportMessages::NoTemplatePath());
    // The previous file becomes the backup; it is copied rather than moved, so that a failed write of
    // the new one leaves both the file and a backup behind.
    const QString backup = backupName(path);
    if (QFileInfo(path).isFile() && backup != path) {
        QFile old(path);
        if (!old.open(QIODevice::ReadOnly))
            return fail(ReportMessages::rrNotSaved, ReportMessages::TemplateNotSaved());
        const QByteArray bytes = old.readAll();
        if (old.error() != QFileDevice::NoError || !WriteFileAtomically(backup, bytes))
            return fail(ReportMessages::rrNotSaved, ReportMessages::TemplateNotSaved());
    }
    if (!WriteFileAtomically(path, Predloha().Text().toUtf8()))
        return fail(ReportMessages::rrNotSaved, ReportMessages::TemplateNotSaved());
    return ReportMessages::rrOK;
}

int TSestava::UlozPredlohuJako() {
    if (OnUlozPredlohuJako)
        return OnUlozPredlohuJako(*this)
                   ? ReportMessages::rrOK
                   : fail(ReportMessages::rrNotSaved, ReportMessages::TemplateNotSaved());
    if (!ChooseSaveFileName)
        return fail(ReportMessages::rrNothingDone, ReportMessages::TemplateNotSaved());
    const QString fileName =
        ChooseSaveFileName(ReportMessages::SaveDialogFilter(), ReportMessages::SaveDialogTitle());
    if (fileName.isEmpty())
        return fail(ReportMessages::rrCancelled, QString());
    return UlozPredlohuJako(fileName);
}

int TSestava::UlozPredlohuJako(const QString& fileName) {
    const QString base = ReportDirIgnore ? ProgramDir() : ReportDir;
    const QString dir = QDir::cleanPath(QFileInfo(base).absoluteFilePath());
    const QString file = QDir::cleanPath(QFileInfo(fileName).absoluteFilePath());
    if (!base.isEmpty() && file.startsWith(dir + u'/')) {
        ReportName = file.mid(dir.size() + 1);
    } else {
        ReportDir.clear();
        ReportDirIgnore = false;
        ReportName = file;
    }
    IsStored = false;
    return UlozPredlohu();
}

} // namespace lintaro
