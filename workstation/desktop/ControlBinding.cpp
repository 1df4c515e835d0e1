#include "workstation/desktop/ControlBinding.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "harvestor/service/ExportLogBox.h"
#include "harvestor/service/HError.h"
#include "workstation/desktop/ExportLogModel.h"

namespace workstation::desktop {
namespace {

QString text(const std::string& s) { return QString::fromStdString(s); }

// Shows a line break of the component's (CR LF) as one line break.
QString plain(std::string_view s) {
  QString shown = QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
  shown.remove(QLatin1Char('\r'));
  return shown;
}

bool isFrame(const harvestor::Control& control, const std::vector<harvestor::Control*>& controls,
             std::size_t at) {
  return dynamic_cast<const harvestor::Label*>(&control) && at + 1 < controls.size() &&
         dynamic_cast<const harvestor::ListBox*>(controls[at + 1]);
}

// The export log's model, when the widget is its view (a list widget is a list view too).
ExportLogModel* logModel(QWidget* widget) {
  auto* view = qobject_cast<QListView*>(widget);
  return view ? dynamic_cast<ExportLogModel*>(view->model()) : nullptr;
}

}  // namespace

ControlBinding::~ControlBinding() { release(); }

void ControlBinding::release() {
  for (harvestor::Control* control : observed_) control->Observe(nullptr);
  observed_.clear();
  widgets_.clear();
}

QWidget* ControlBinding::widget(const harvestor::Control& control) const {
  const auto it = widgets_.find(&control);
  return it == widgets_.end() ? nullptr : it->second;
}

QWidget* ControlBinding::build(const std::vector<harvestor::Control*>& controls, QWidget* parent) {
  auto* form = new QWidget(parent);
  auto* layout = new QVBoxLayout(form);
  QHBoxLayout* columns = nullptr;
  QHBoxLayout* buttons = nullptr;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    harvestor::Control& control = *controls[i];
    const bool button = dynamic_cast<harvestor::CommandButton*>(&control) != nullptr;
    if (!button) buttons = nullptr;
    if (isFrame(control, controls, i)) {
      if (!columns) {
        columns = new QHBoxLayout;
        layout->addLayout(columns, 1);
      }
      auto* column = new QVBoxLayout;
      columns->addLayout(column);
      auto* caption = makeWidget(control, form);
      auto* list = makeWidget(*controls[i + 1], form);
      if (auto* label = qobject_cast<QLabel*>(caption)) label->setBuddy(list);
      column->addWidget(caption);
      column->addWidget(list, 1);
      ++i;
      continue;
    }
    columns = nullptr;
    QWidget* made = makeWidget(control, form);
    if (button) {
      if (!buttons) {
        buttons = new QHBoxLayout;
        buttons->addStretch(1);
        layout->addLayout(buttons);
      }
      buttons->addWidget(made);
    } else {
      layout->addWidget(made, qobject_cast<QPlainTextEdit*>(made) ? 1 : 0);
    }
  }
  return form;
}

QWidget* ControlBinding::makeWidget(harvestor::Control& control, QWidget* parent) {
  QWidget* made = nullptr;
  if (dynamic_cast<harvestor::Label*>(&control)) {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    made = label;
  } else if (dynamic_cast<harvestor::ProgressBarControl*>(&control)) {
    made = new QProgressBar(parent);
  } else if (auto* log = dynamic_cast<harvestor::ExportLogBox*>(&control)) {
    auto* view = new QListView(parent);
    view->setUniformItemSizes(true);
    view->setModel(new ExportLogModel(*log, view));
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    made = view;
  } else if (dynamic_cast<harvestor::TextBox*>(&control)) {
    auto* view = new QPlainTextEdit(parent);
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    made = view;
  } else if (auto* button = dynamic_cast<harvestor::CommandButton*>(&control)) {
    auto* push = new QPushButton(parent);
    QObject::connect(push, &QPushButton::clicked, push, [button] {
      try {
        button->Click();
      } catch (const harvestor::HError&) {
        // Reported to the host by the handler on its way out.
      }
    });
    made = push;
  } else if (auto* check = dynamic_cast<harvestor::CheckBox*>(&control)) {
    auto* box = new QCheckBox(parent);
    QObject::connect(box, &QCheckBox::clicked, box, [this, check, box] {
      if (updating_) return;
      try {
        check->Value(static_cast<std::int16_t>(box->isChecked() ? 1 : 0));
      } catch (const harvestor::HError&) {
      }
    });
    made = box;
  } else if (auto* list = dynamic_cast<harvestor::ListBox*>(&control)) {
    auto* view = new QListWidget(parent);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    QObject::connect(view, &QListWidget::itemSelectionChanged, view,
                     [this, list] { writeBackSelection(*list); });
    made = view;
  } else {
    made = new QWidget(parent);
  }
  made->setObjectName(text(control.Name()));
  widgets_[&control] = made;
  observed_.push_back(&control);
  control.Observe(this);
  Changed(control);
  return made;
}

void ControlBinding::writeBackSelection(harvestor::ListBox& box) {
  if (updating_) return;
  auto* view = qobject_cast<QListWidget*>(widget(box));
  if (!view) return;
  // Taken first: each change to the control brings the view back in step with it.
  std::vector<bool> wanted;
  for (int i = 0; i < view->count() && i < box.ListCount(); ++i) {
    wanted.push_back(view->item(i)->isSelected());
  }
  for (std::size_t i = 0; i < wanted.size(); ++i) {
    const auto at = static_cast<std::int16_t>(i);
    if (box.Selected(at) != wanted[i]) box.Selected(at, wanted[i]);
  }
}

void ControlBinding::Changed(const harvestor::Control& control) {
  QWidget* shown = widget(control);
  if (!shown) return;
  updating_ = true;
  shown->setEnabled(control.Enabled());
  shown->setVisible(control.Visible());
  if (const auto* label = dynamic_cast<const harvestor::Label*>(&control)) {
    static_cast<QLabel*>(shown)->setText(text(label->Caption()));
  } else if (const auto* bar = dynamic_cast<const harvestor::ProgressBarControl*>(&control)) {
    auto* progress = static_cast<QProgressBar*>(shown);
    progress->setRange(0, static_cast<int>(bar->Max()));
    progress->setValue(static_cast<int>(std::min(bar->Value(), bar->Max())));
  } else if (auto* log = logModel(shown)) {
    log->reset();
    static_cast<QListView*>(shown)->scrollToBottom();
  } else if (const auto* box = dynamic_cast<const harvestor::TextBox*>(&control)) {
    auto* view = static_cast<QPlainTextEdit*>(shown);
    view->setPlainText(plain(box->Text()));
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
  } else if (const auto* button = dynamic_cast<const harvestor::CommandButton*>(&control)) {
    static_cast<QPushButton*>(shown)->setText(text(button->Caption()));
  } else if (const auto* check = dynamic_cast<const harvestor::CheckBox*>(&control)) {
    auto* tick = static_cast<QCheckBox*>(shown);
    tick->setText(text(check->Caption()));
    tick->setTristate(check->Value() == 2);
    tick->setCheckState(check->Value() == 0   ? Qt::Unchecked
                        : check->Value() == 1 ? Qt::Checked
                                              : Qt::PartiallyChecked);
  } else if (const auto* list = dynamic_cast<const harvestor::ListBox*>(&control)) {
    auto* view = static_cast<QListWidget*>(shown);
    const auto count = list->ListCount();
    bool same = view->count() == count;
    for (std::int16_t i = 0; same && i < count; ++i) {
      same = view->item(i)->text() == text(list->List(i));
    }
    if (!same) {
      view->clear();
      for (std::int16_t i = 0; i < count; ++i) view->addItem(text(list->List(i)));
    }
    for (std::int16_t i = 0; i < count; ++i) view->item(i)->setSelected(list->Selected(i));
  }
  updating_ = false;
}

void ControlBinding::Repainted(const harvestor::Control& control) {
  Changed(control);
  if (QWidget* shown = widget(control)) shown->repaint();
}

void ControlBinding::Appended(const harvestor::Control& control, std::string_view added) {
  auto* view = qobject_cast<QPlainTextEdit*>(widget(control));
  if (!view) return;
  QTextCursor end(view->document());
  end.movePosition(QTextCursor::End);
  end.insertText(plain(added));
  view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
}

void ControlBinding::LinesAdded(const harvestor::Control& control, std::size_t first,
                                std::size_t count) {
  QWidget* shown = widget(control);
  if (auto* log = logModel(shown)) {
    log->added(first, count);
    static_cast<QListView*>(shown)->scrollToBottom();
  }
}

}  // namespace workstation::desktop
