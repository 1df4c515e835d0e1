// How the desktop's export log view copes with a long log: the log is filled
// with N lines (default 2,000,000; give N as the argument), then the view's
// model is told of them, a window of rows is read at spots across the log,
// and an offscreen list view scrolls to each spot and paints.
#include <QApplication>
#include <QListView>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "harvestor/service/ErrorLog.h"
#include "harvestor/service/ExportLogBox.h"
#include "workstation/desktop/ExportLogModel.h"

namespace {

double msSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const long lines = argc > 1 ? std::atol(argv[1]) : 2'000'000;
  harvestor::ErrorLog::InitalizeExportLog();
  harvestor::ExportLogBox box("txtExportErrors");
  workstation::desktop::ExportLogModel model(box);
  QListView view;
  view.setUniformItemSizes(true);
  view.setModel(&model);
  view.resize(640, 400);
  view.show();
  QApplication::processEvents();

  auto start = std::chrono::steady_clock::now();
  for (long i = 0; i < lines; ++i) {
    harvestor::ErrorLog::LogExportMsg("Processing result: Sample " + std::to_string(i) +
                                      " of subject F1-03");
  }
  const double fill = msSince(start);

  start = std::chrono::steady_clock::now();
  box.Show();
  model.added(0, box.LineCount());
  const double refresh = msSince(start);

  start = std::chrono::steady_clock::now();
  std::size_t bytes = 0;
  const int spots = 100, window = 50;
  for (int s = 0; s < spots; ++s) {
    const int first = static_cast<int>(static_cast<long>(s) * (lines - window) / spots);
    for (int row = first; row < first + window; ++row)
      bytes += model.index(row, 0).data().toString().size();
  }
  const double reads = msSince(start);

  start = std::chrono::steady_clock::now();
  for (int s = 0; s < spots; ++s) {
    view.scrollTo(model.index(static_cast<int>(static_cast<long>(s) * (lines - 1) / spots), 0));
    view.viewport()->repaint();
  }
  const double scrolls = msSince(start);

  std::printf("export log view, %ld lines\n", lines);
  std::printf("  logging the lines        %10.1f ms\n", fill);
  std::printf("  model refresh            %10.3f ms\n", refresh);
  std::printf("  %d windows of %d rows   %10.3f ms (%zu characters)\n", spots, window, reads,
              bytes);
  std::printf("  %d scroll+paint          %10.1f ms (%.2f ms each)\n", spots, scrolls,
              scrolls / spots);
  return 0;
}
