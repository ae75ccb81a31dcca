#pragma once

#include "CurveModel.h"
#include "Form4Layout.h"
#include "Prompter.h"
#include "SurfaceWidget.h"

#include <functional>

class Clipboard;
class SaveFileAsker;
class QMenu;
class QScrollBar;

// The curve window: the parameter panels and commands over a retained drawing on which the
// curves are plotted. It neither shows nor activates itself; whoever opens it calls
// Form_Activate when it becomes the program's active window.
class Form4 : public SurfaceWidget, public Form4Controls, private CurveFields {
public:
    // Messages go to prompter, or to message boxes over this window when none is given.
    explicit Form4(Prompter* prompter = nullptr, QWidget* parent = nullptr);
    ~Form4() override;

    // Sets up the scale from Incr, draws the axes and plots one curve.
    void Form_Activate();
    CurveModel& model() { return model_; }

    // The calibration ratio; must be set before the first activation.
    std::function<double()> readIncr;
    // "ESCI" and "?".
    std::function<void()> endProgram;
    std::function<void()> showInstructions;

    // Copies go to the desktop's clipboard unless another one is given; "Salva immagine…"
    // asks with the file dialog unless another asker is given.
    void setClipboard(Clipboard& clipboard) { clipboard_ = &clipboard; }
    void setSaveFileAsker(SaveFileAsker& asker) { saveFileAsker_ = &asker; }

    // The drawing's context menu: a line on the last curve's distance to its target point,
    // then the commands on the drawing. Opened by a right click on the drawing, the Menu key
    // or Shift+F10.
    void fillContextMenu(QMenu& menu);
    void openContextMenu(QPoint globalPosition);
    // The tooltip at a point of the window: the curve coordinates under it, with the distance
    // line over the target marker; empty over a control or before the first plot.
    QString toolTipAt(QPoint position) const;

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void HScroll1_Change();
    void HScroll2_Change();
    void Check1_Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString fieldText(Field field) const override;
    void setFieldText(Field field, const QString& text) override;
    QLineEdit* box(Field field) const;

    void openContextMenuFromKeyboard();
    void displacementChanged(QScrollBar* bar, QLineEdit* shown, std::int16_t& variable);
    void resetDisplacement(QScrollBar* bar, QLineEdit* shown, std::int16_t& variable);

    std::unique_ptr<Clipboard> ownClipboard_;
    Clipboard* clipboard_;
    std::unique_ptr<SaveFileAsker> ownSaveFileAsker_;
    SaveFileAsker* saveFileAsker_;
    WindowPrompter prompter_;
    CurveModel model_;
    bool shownBefore_ = false;
};
