#pragma once

#include <QWidget>

class QVBoxLayout;

namespace skyfare {

// The "Help" tab: three questions, each with its answer below it, naming the data folder.
class HelpTab final : public QWidget {
  Q_OBJECT

 public:
  explicit HelpTab(const QString& dataFolderText, QWidget* parent = nullptr);

 private:
  void addQuestion(const QString& question, const QString& answer);

  QVBoxLayout* layout_;
};

}  // namespace skyfare
