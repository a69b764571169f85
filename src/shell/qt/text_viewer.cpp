#include "shell/qt/text_viewer.h"

#include <QAction>
#include <QDialog>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace kordavelt {

namespace {

QAbstractScrollArea* PlainPage(QWidget& viewer, const QString& text) {
  auto* page = new QPlainTextEdit(&viewer);
  page->setReadOnly(true);
  page->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  page->setPlainText(text);
  return page;
}

QAbstractScrollArea* HtmlPage(QWidget& viewer, const QString& text) {
  auto* page = new QTextBrowser(&viewer);
  page->setOpenLinks(false);
  page->setHtml(text);
  return page;
}

}  // namespace

void RunTextViewer(QWidget* mainWindow, const QString& title, const QString& text,
                   const QFont& font, ViewerText format) {
  QDialog viewer(mainWindow);
  viewer.setObjectName(QStringLiteral("textViewer"));
  viewer.setWindowTitle(title);
  auto* layout = new QVBoxLayout(&viewer);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* bar = new QMenuBar(&viewer);
  layout->setMenuBar(bar);
  QAction* close = bar->addAction(QStringLiteral("&Закрыть"));
  close->setShortcut(QKeySequence(Qt::Key_Escape));
  QObject::connect(close, &QAction::triggered, &viewer, &QDialog::accept);

  QAbstractScrollArea* page =
      format == ViewerText::Html ? HtmlPage(viewer, text) : PlainPage(viewer, text);
  page->setObjectName(QStringLiteral("viewerText"));
  page->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  page->setFont(font);
  layout->addWidget(page);

  QSize client(800, 600);
  if (auto* frame = qobject_cast<QMainWindow*>(mainWindow); frame && frame->centralWidget()) {
    client = frame->centralWidget()->size();
  } else if (mainWindow != nullptr) {
    client = mainWindow->size();
  }
  viewer.resize(client * 3 / 4);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    viewer.move(area.center() - QPoint(viewer.width() / 2, viewer.height() / 2));
  }
  viewer.exec();
}

}  // namespace kordavelt
