#include "app/MainWindow.h"

#include "app/BusyWork.h"
#include "app/CanvasView.h"
#include "app/Dialogs.h"
#include "canvas/DrawPoints.h"
#include "common/NumberText.h"
#include "common/OrderText.h"
#include "fit/CurveFit.h"
#include "imageops/ColumnProfile.h"
#include "imageops/RowShifting.h"
#include "io/ImageFiles.h"
#include "io/TextExports.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace {

template <typename Widget>
Widget* place(Widget* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

QPushButton* button(QWidget* parent, const char* name, const char* caption, int left, int top,
                    int width, int height) {
    return place(new QPushButton(QLatin1String(caption), parent), name, left, top, width, height);
}

} // namespace

MainWindow::MainWindow(Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_commonDialog(dialogs) {
    setObjectName(QStringLiteral("Mian1"));
    setWindowTitle(QStringLiteral("EBSP correction "));
    createControls();
    createMenu();
    connectEvents();
    startUp();
}

void MainWindow::createControls() {
    auto* client = new QWidget(this);
    client->setFixedSize(ClientWidth, ClientHeight);
    setCentralWidget(client);
    // The client area has a fixed size; the window follows it (plus the menu bar).
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    Picture1 = place(new CanvasView(m_canvas, client), "Picture1", 0, 0, 516, 516);
    List1 = place(new QListWidget(client), "List1", 528, 0, 105, 292);
    Command1 = button(client, "Command1", "CALCULATE(LSM)", 528, 312, 129, 25);
    Command4 = button(client, "Command4", "CORRECT", 528, 344, 129, 25);
    Command2 = button(client, "Command2", "PARAMETER STORE", 528, 376, 129, 25);
    ProgressBar2 = place(new QProgressBar(client), "ProgressBar2", 528, 408, 129, 9);
    ProgressBar2->setTextVisible(false);
    ProgressBar2->setRange(0, 100);
    ProgressBar2->setValue(0);
    Label1 = place(new QLabel(QStringLiteral("Order="), client), "Label1", 520, 432, 49, 17);
    Text1 = place(new QLineEdit(client), "Text1", 560, 432, 33, 18);
    Command3 = button(client, "Command3", "Vertical Average", 528, 520, 121, 25);
    Command5 = button(client, "Command5", "Save", 592, 544, 57, 25);
    Label3 = place(new QLabel(QStringLiteral("Ver 2.1 (03/07/19)"), client), "Label3", 208, 528,
                   129, 25);

    Frame1 =
        place(new QGroupBox(QStringLiteral("width measure "), client), "Frame1", 8, 520, 185, 81);
    Option3 = place(new QRadioButton(QStringLiteral("Image correction"), Frame1), "Option3", 16, 16,
                    129, 17);
    Option1 = place(new QRadioButton(QStringLiteral("Line 1"), Frame1), "Option1", 16, 32, 113, 17);
    Option2 = place(new QRadioButton(QStringLiteral("Line 2"), Frame1), "Option2", 88, 32, 57, 17);
    Label2 =
        place(new QLabel(QStringLiteral("Line2 - Line1 = "), Frame1), "Label2", 16, 56, 153, 17);
    Option3->setChecked(true); // radio buttons sharing a parent are exclusive
    addToolTips();
}

void MainWindow::addToolTips() {
    Command1->setToolTip(tr("Fit a polynomial of the chosen order to the points 1-8, measured "
                            "from the line A-B, and list the shift of every row"));
    Command4->setToolTip(tr("Shift every row of the image left by its listed shift; "
                            "the vacated right end turns grey"));
    Command2->setToolTip(tr("Save the row-shift table as a text file (row,shift per line)"));
    Command3->setToolTip(tr("Sum the darkness of every column and plot the profile in red "
                            "over the image"));
    Command5->setToolTip(tr("Save the column profile as a text file (column,value per line)"));
    Text1->setToolTip(tr("Order of the fitted polynomial, 0 to 6"));
    Option3->setToolTip(tr("Press on the canvas to move the nearest control point; drag to "
                           "follow the pointer"));
    Option1->setToolTip(tr("Press on the canvas to place measuring line 1 (red)"));
    Option2->setToolTip(tr("Press on the canvas to place measuring line 2 (green)"));
}

void MainWindow::createMenu() {
    QMenu* image = menuBar()->addMenu(QStringLiteral("Image"));
    image->setObjectName(QStringLiteral("Image"));
    ImageLoad = image->addAction(QStringLiteral("LOAD"));
    ImageLoad->setObjectName(QStringLiteral("ImageLoad"));
    ImageLoad->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    ImageLoad->setToolTip(tr("Load an image onto the canvas"));
    ImageSave = image->addAction(QStringLiteral("SAVE"));
    ImageSave->setObjectName(QStringLiteral("ImageSave"));
    ImageSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    ImageSave->setToolTip(tr("Save the canvas image as a 24-bit BMP file"));
    Imageclear = image->addAction(QStringLiteral("CLEAR"));
    Imageclear->setObjectName(QStringLiteral("Imageclear"));
}

void MainWindow::connectEvents() {
    connect(Text1, &QLineEdit::textChanged, this, &MainWindow::orderTextChanged);
    connect(Picture1, &CanvasView::pressed, this, &MainWindow::canvasPressed);
    connect(Picture1, &CanvasView::moved, this, &MainWindow::canvasMoved);
    connect(Picture1, &CanvasView::released, this, &MainWindow::canvasReleased);
    connect(Command1, &QPushButton::clicked, this, &MainWindow::calculate);
    connect(Command4, &QPushButton::clicked, this, &MainWindow::correct);
    connect(Command2, &QPushButton::clicked, this, &MainWindow::storeParameters);
    connect(Command3, &QPushButton::clicked, this, &MainWindow::verticalAverage);
    connect(Command5, &QPushButton::clicked, this, &MainWindow::saveProfile);
    connect(ImageLoad, &QAction::triggered, this, &MainWindow::loadImage);
    connect(ImageSave, &QAction::triggered, this, &MainWindow::saveImage);
    connect(Imageclear, &QAction::triggered, this, &MainWindow::clearImage);
}

void MainWindow::startUp() {
    m_canvas.clear();
    m_canvas.setScale(0, 512, 512, 0);
    m_state.Px = defaultPx();
    m_state.Py = defaultPy();
    m_canvas.clear();
    DrawPoints(m_canvas, m_state.Px, m_state.Py); // persistent: part of the image layer
    m_state.NData = 8;
    m_state.Order = 4;
    Text1->setText(numberText(m_state.Order)); // runs the order-box conversion
    refreshCanvas();
}

void MainWindow::refreshCanvas() {
    Picture1->update();
}

CanvasMode MainWindow::mode() const {
    if (Option1->isChecked())
        return CanvasMode::Line1;
    if (Option2->isChecked())
        return CanvasMode::Line2;
    return CanvasMode::ImageCorrection;
}

void MainWindow::orderTextChanged(const QString& text) {
    m_state.Order = orderFromText(text);
}

void MainWindow::canvasPressed(float x, float y) {
    switch (mode()) {
    case CanvasMode::ImageCorrection:
        pickControlPoint(m_state, m_canvas, x, y);
        break;
    case CanvasMode::Line1:
    case CanvasMode::Line2:
        Label2->setText(placeMeasuringLine(m_state, m_canvas, mode(), x));
        break;
    }
    refreshCanvas();
}

void MainWindow::canvasMoved(float x, float y) {
    if (m_state.Dragging != 1)
        return;
    dragControlPoint(m_state, m_canvas, x, y);
    refreshCanvas();
}

void MainWindow::canvasReleased() {
    endDrag(m_state);
}

void MainWindow::calculate() {
    FitRequest request;
    request.Px = m_state.Px;
    request.Py = m_state.Py;
    request.NData = m_state.NData;
    request.Order = m_state.Order;
    request.Coef = m_state.Coef;

    const FitResult fit = calculateFit(request);
    if (fit.singular)
        m_dialogs.warning(QLatin1String(SingularMatrixTitle), QLatin1String(SingularMatrixText));
    if (fit.warning) {
        m_dialogs.warning(fit.warning->title, fit.warning->text);
        return; // the table, the list and the coefficients stay as they were
    }

    m_state.FitPos = fit.FitPos;
    m_state.FitDev = fit.FitDev;
    m_state.Coef = fit.Coef;
    m_state.RowShift = fit.RowShift;

    m_canvas.clear();
    DrawPoints(m_canvas, m_state.Px, m_state.Py);
    drawCurve(fit.curve);
    List1->clear();
    List1->addItems(fit.listEntries);
    refreshCanvas();
}

void MainWindow::drawCurve(const std::vector<CurvePoint>& curve) {
    for (std::size_t i = 1; i < curve.size(); ++i)
        m_canvas.line(curve[i - 1].x, curve[i - 1].y, curve[i].x, curve[i].y, colours::Blue);
}

void MainWindow::correct() {
    {
        BusyWork work(ProgressBar2, 511);
        correctRows(m_canvas, m_state.RowShift, work.progress());
    }
    refreshCanvas();
}

void MainWindow::verticalAverage() {
    {
        BusyWork work(ProgressBar2, 511);
        ::verticalAverage(m_canvas, m_state.Profile, work.progress());
    }
    refreshCanvas();
}

void MainWindow::storeParameters() {
    m_commonDialog.setFilter(QString());
    m_state.FilePath = m_commonDialog.showSave();
    if (m_state.FilePath.isEmpty())
        return;
    const QString error = saveShiftTable(m_state.FilePath, m_state.RowShift);
    if (!error.isEmpty())
        m_dialogs.warning(tr("Shift table not saved"), error);
}

void MainWindow::saveProfile() {
    m_commonDialog.setFilter(QString());
    const QString name = m_commonDialog.showSave(); // FilePath stays as it is
    if (name.isEmpty())
        return;
    const QString error = ::saveProfile(name, m_state.Profile);
    if (!error.isEmpty())
        m_dialogs.warning(tr("Profile not saved"), error);
}

void MainWindow::loadImage() {
    m_commonDialog.setFilter(QStringLiteral("bmp|*.bmp|"));
    m_state.FilePath = m_commonDialog.showOpen();
    if (!m_state.FilePath.isEmpty()) {
        const LoadedImage loaded = ::loadImage(m_state.FilePath);
        if (loaded.ok()) {
            m_canvas.setBackgroundPicture(loaded.image);
            m_canvas.setPersistent(false);
            m_canvas.setScale(0, 511, 511, 0);
        } else {
            // Picture, image layer and scale stay as they were.
            m_dialogs.warning(tr("Image not loaded"), loaded.error);
        }
    }
    DrawPoints(m_canvas, m_state.Px, m_state.Py);
    refreshCanvas();
}

void MainWindow::saveImage() {
    m_state.FilePath = m_commonDialog.showSave();
    if (m_state.FilePath.isEmpty())
        return;
    const QString error = ::saveImage(m_canvas.image(), m_state.FilePath);
    if (!error.isEmpty())
        m_dialogs.warning(tr("Image not saved"), error);
}

// CLEAR is in the menu but has no action.
void MainWindow::clearImage() {}
