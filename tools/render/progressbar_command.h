#pragma once
// The progress-bar part of the render tool: a ProgressBar drawn to an image from command-line properties, and
// the gallery of its themes, orientations and caption effects.

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <utility>
#include <variant>
#include <vector>

namespace tervolin::tools {

struct ProgressBarRenderOptions
{
    QSize size;
    std::vector<std::pair<QString, QVariant>> properties;  ///< stored keys and values, in the given order
    QString out;
};

/// Parses the arguments after "progressbar"; the error text says what is wrong.
std::variant<ProgressBarRenderOptions, QString> parseProgressBarArguments(const QStringList& args);

/// Draws a newly placed bar whose stored properties are overridden by the options, loaded as a container loads
/// them (in the stored read order, each through its let). TextFont takes "Name[:points[:bold]]". Pixels outside
/// the window's rounded outline are transparent. An error text for a key the bar does not store.
std::variant<QImage, QString> renderProgressBar(const ProgressBarRenderOptions& options);

/// Themes 1 to 10 (rows) × horizontal and vertical bars with effects 1 to 5 (columns), labelled.
QImage renderProgressBarGallery();

QString progressBarUsage();

/// "progressbar --size WxH [--set Key=Value]… --out FILE.png"; returns the exit code.
int runProgressBarCommand(const QStringList& args);
/// "progressbar-gallery --out FILE.png"; returns the exit code.
int runProgressBarGallery(const QStringList& args);

}  // namespace tervolin::tools
