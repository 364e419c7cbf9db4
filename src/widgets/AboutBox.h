#pragma once
// The modal about box: the program's icon, name, version and comments, a note and a notice, and
// one button that closes it. Its controls are named "AboutIcon", "AboutProductName",
// "AboutVersion", "AboutComments", "AboutNote", "AboutNotice", "AboutPanel" and "AboutButton".
#include <QString>

#include <memory>

QT_BEGIN_NAMESPACE
class QDialog;
class QWidget;
QT_END_NAMESPACE

namespace lintaro {

struct TAboutTexts {
    QString title;
    QString versionCaption;
    QString buttonCaption;
    QString notice;
    QString note;
};

// The texts "Title", "VersionCapt", "ButtonCapt", "CopyrightNote" and "Note" of section "About".
TAboutTexts AboutTextsFromResources();

// Builds the box (centred, not shown); the caller owns it.
std::unique_ptr<QDialog> BuildAboutBox(const TAboutTexts& texts, QWidget* parent = nullptr);
// Builds the box and shows it modally.
void ShowAboutBox(const QString& title, const QString& versionCaption, const QString& buttonCaption,
                  const QString& notice, const QString& note, QWidget* parent = nullptr);

} // namespace lintaro
