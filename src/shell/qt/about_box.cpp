#include "shell/qt/about_box.h"

#include <QDialogButtonBox>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

// The program's pictures live in a static library: their resources are
// registered by hand.
static void InitResources() { Q_INIT_RESOURCE(kordavelt); }

namespace kordavelt {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  InitResources();
  setObjectName(QStringLiteral("aboutBox"));
  setWindowTitle(QStringLiteral("О программе"));
  auto* layout = new QVBoxLayout(this);

  // The picture is a JPEG built into the program.
  QImageReader reader(QStringLiteral(":/kordavelt/about.jpg"), "jpeg");
  const QImage image = reader.read();
  auto* picture = new QLabel(this);
  picture->setObjectName(QStringLiteral("aboutPicture"));
  picture->setAlignment(Qt::AlignCenter);
  if (!image.isNull()) {
    picture->setPixmap(QPixmap::fromImage(image));
    hasPicture_ = true;
  }
  layout->addWidget(picture);

  auto* name = new QLabel(QStringLiteral("Kordavelt"), this);
  QFont bold = name->font();
  bold.setBold(true);
  bold.setPointSize(bold.pointSize() + 4);
  name->setFont(bold);
  name->setAlignment(Qt::AlignCenter);
  layout->addWidget(name);
  auto* version = new QLabel(QString::fromUtf8(kVersion), this);
  version->setObjectName(QStringLiteral("aboutVersion"));
  version->setAlignment(Qt::AlignCenter);
  layout->addWidget(version);
  auto* comment = new QLabel(QString::fromUtf8(kComment), this);
  comment->setObjectName(QStringLiteral("aboutComment"));
  comment->setAlignment(Qt::AlignCenter);
  comment->setWordWrap(true);
  layout->addWidget(comment);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

}  // namespace kordavelt
