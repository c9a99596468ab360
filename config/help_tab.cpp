#include "config/help_tab.h"

#include <QLabel>
#include <QVBoxLayout>

namespace skyfare {

HelpTab::HelpTab(const QString& dataFolderText, QWidget* parent)
    : QWidget(parent), layout_(new QVBoxLayout(this)) {
  addQuestion(tr("How do I load a custom background?"),
              tr("The first thing you need is a background.  The size needs to be 800x600 "
                 "pixels to fill the entire screen.  The file needs to be placed in ") +
                  dataFolderText + QString(16, u' ') +
                  tr("After you have placed the file in the above folder simply click the "
                     "BACKGROUND tab and the CUSTOM option button and click the SELECT "
                     "BACKGROUND button."));
  addQuestion(tr("How do I load a custom logo?"),
              tr("The first thing you need is a background.  The size doesn't matter (smaller "
                 "looks better).  The file needs to be placed in ") +
                  dataFolderText + QString(26, u' ') +
                  tr("After you have placed the file in the above folder simply click the "
                     "Logo/Message tab and the CUSTOM option button and click the SELECT LOGO "
                     "button."));
  addQuestion(tr("All I have is a black screen, Why?"),
              tr("You need to check in a file manager for the folder: ") + dataFolderText +
                  tr(".  If that folder is not there or there are no files in the folder, "
                     "reinstall the screen saver.  Another cause is not having the program's "
                     "libraries installed."));
  layout_->addStretch(1);
}

void HelpTab::addQuestion(const QString& question, const QString& answer) {
  auto* questionLabel = new QLabel(question);
  QFont bold = questionLabel->font();
  bold.setBold(true);
  questionLabel->setFont(bold);
  auto* answerLabel = new QLabel(answer);
  answerLabel->setTextFormat(Qt::PlainText);
  answerLabel->setWordWrap(true);
  layout_->addWidget(questionLabel);
  layout_->addWidget(answerLabel);
}

}  // namespace skyfare
