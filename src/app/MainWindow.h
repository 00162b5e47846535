#pragma once

#include "app/CanvasInteraction.h"
#include "app/CommonDialog.h"
#include "app/WindowState.h"
#include "canvas/Canvas.h"
#include "fit/CurveFit.h"

#include <QMainWindow>

class CanvasView;
class Dialogs;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;

// The program's one window: lays out every control, owns the window state
// and the canvas, runs start-up and routes each user event to its handler.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 674;
    static constexpr int ClientHeight = 611;

    explicit MainWindow(Dialogs& dialogs, QWidget* parent = nullptr);

    WindowState& state() { return m_state; }
    const WindowState& state() const { return m_state; }
    Canvas& canvas() { return m_canvas; }
    CommonDialog& commonDialog() { return m_commonDialog; }
    CanvasMode mode() const;

private slots:
    void orderTextChanged(const QString& text);
    void canvasPressed(float x, float y);
    void canvasMoved(float x, float y);
    void canvasReleased();
    void calculate();
    void correct();
    void storeParameters();
    void verticalAverage();
    void saveProfile();
    void loadImage();
    void saveImage();
    void clearImage();

private:
    void createControls();
    void addToolTips();
    void createMenu();
    void connectEvents();
    void startUp();
    void refreshCanvas();
    void drawCurve(const std::vector<CurvePoint>& curve);

    WindowState m_state;
    Canvas m_canvas;
    Dialogs& m_dialogs;
    CommonDialog m_commonDialog;

    CanvasView* Picture1 = nullptr;
    QListWidget* List1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QProgressBar* ProgressBar2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Text1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QRadioButton* Option3 = nullptr;
    QAction* ImageLoad = nullptr;
    QAction* ImageSave = nullptr;
    QAction* Imageclear = nullptr;
};
