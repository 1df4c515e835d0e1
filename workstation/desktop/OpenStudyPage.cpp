#include "workstation/desktop/OpenStudyPage.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "harvestor/service/Collection.h"
#include "harvestor/service/HError.h"
#include "workstation/desktop/DesktopWindow.h"

namespace workstation::desktop {

QWidget* OpenStudyPage::widget(QWidget* parent) {
  auto* form = new QWidget(parent);
  auto* layout = new QVBoxLayout(form);
  auto* caption = new QLabel(QObject::tr("&Studies in this database:"), form);
  list_ = new QListWidget(form);
  list_->setObjectName("lstStudies");
  caption->setBuddy(list_);
  for (const std::string& name : studies_) list_->addItem(QString::fromStdString(name));
  if (!studies_.empty()) list_->setCurrentRow(0);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel, form);
  buttons->button(QDialogButtonBox::Open)->setEnabled(!studies_.empty());
  QObject::connect(buttons, &QDialogButtonBox::accepted, form,
                   [this] { choose(list_->currentRow()); });
  QObject::connect(list_, &QListWidget::itemDoubleClicked, form,
                   [this] { choose(list_->currentRow()); });
  QObject::connect(buttons, &QDialogButtonBox::rejected, form, [this] {
    if (auto window = std::dynamic_pointer_cast<DesktopWindow>(pageBase_.Window()))
      window->cancel();
  });
  layout->addWidget(caption);
  layout->addWidget(list_, 1);
  layout->addWidget(buttons);
  return form;
}

bool OpenStudyPage::choose(int row) {
  if (row < 0 || row >= static_cast<int>(studies_.size())) return false;
  try {
    const auto study = open_(studies_[static_cast<std::size_t>(row)]);
    if (!study) return false;
    const auto chosen = std::any_cast<harvestor::CollectionPtr<std::shared_ptr<harvestor::IStudy>>>(
        pageBase_.Parameter());
    if (chosen->HasKey("Study")) chosen->Remove("Study");
    chosen->Add(study, "Study");
  } catch (const std::exception&) {
    return false;
  }
  if (auto window = pageBase_.Window()) window->Close();
  return true;
}

}  // namespace workstation::desktop
