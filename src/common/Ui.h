// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>

class QWidget;
class QFrame;
class QLabel;

namespace Ui {

// Verdana 11 px; fontconfig falls back to a sans-serif face where Verdana is missing.
QFont baseFont();
QFont boldFont(int pixelSize = 11);

QColor background(); // RGB 248, 247, 237
QColor greyText();   // captions of the title strip and the step labels
QColor darkText();   // RGB 51, 51, 51

// Applies the base font and background to a top-level window.
void styleWindow(QWidget* window);

// Gives a label a fixed colour through its palette.
void setTextColour(QLabel* label, const QColor& colour);

// The colour of a plain frame's lines (a box or a line), through its palette.
void setFrameColour(QFrame* frame, const QColor& colour);

// The title strip every dialog opens with: the product code (`L_SW_Code`, at 16, 8, in `codeFont`)
// and the dialog's subtitle below it (`L_SW_Desc`, bold, at 16, `descTop`), both grey.
struct TitleLabels {
    QLabel* code;
    QLabel* desc;
};
TitleLabels titleStrip(QWidget* parent, const QString& productCode, const QFont& codeFont, int descTop);

// Icons drawn in code, so the program needs no picture files. Each is drawn when it is first shown, at
// the size it is shown, once per size, and kept. `size` is the size it is meant for (its available size).
enum class Glyph {
    New,
    Open,
    Settings,
    Rules,
    Variables,
    Update,
    Info,
    Options,
    Close,
    Ok,
    Cancel,
    Logo,
    DeleteRow,
    InsertRow,
    CopyRow,
    PasteRow
};
QIcon icon(Glyph glyph, int size = 24);

} // namespace Ui
