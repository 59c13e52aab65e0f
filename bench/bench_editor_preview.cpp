// The editor's whole preview path against the formula engine's render alone, per filter:
// gather, write temp.dll, load it back through the host, run it on the preview copy and copy
// the result out as the window does. Two picture sizes: a 1-megapixel preview copy and the
// editor's preview box. Prints the median of each and their ratio (aim: at most 1.3).
//   bench_editor_preview [PROGRAM_DIR]   (a folder holding photo30.dll; default: the build's)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/editor/editor_fields.h"
#include "core/editor/preview_formulas.h"
#include "core/editor/preview_run.h"
#include "core/host/run_filter.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Filter {
  const char* name;
  qm::editor::EditorFormulas boxes;  // A, R, G, B as the editor holds them
  std::uint8_t slider0;
};

// The filters of bench_formula, as a user would type them into the editor.
const Filter kFilters[] = {
    {"invert", {"a", "255-r", "255-g", "255-b"}, 0},
    {"contrast",
     {"a", "(c-128)*ctl(0)/64+128", "(c-128)*ctl(0)/64+128", "(c-128)*ctl(0)/64+128"},
     96},
    {"sepia", {"a", "i+40", "i+20", "i-20"}, 0},
    {"threshold", {"a", "i>ctl(0)?255:0", "max(r,g)-min(g,b)/2", "r<b&&g>64"}, 128},
    {"ripple",
     {"a", "src(x+sin(y*8)/32,y,z)", "src(x+sin(y*8)/32,y,z)", "src(x,y+cos(x*8)/32,z)"},
     0},
    {"twirl", {"a", "rad(d+m/2,m,z)", "rad(d+m/2,m,z)", "rad(d+m/2,m,z)"}, 0},
};

struct Size {
  const char* name;
  int width, height;
};
const Size kSizes[] = {{"1MP", 1024, 1024}, {"box", 256, 176}};

qm::host::Image picture(int w, int h) {
  qm::host::Image img = qm::host::Image::blank(w, h, false);
  std::uint32_t state = 12345;
  for (std::size_t k = 0; k < img.rgba.size(); ++k) {
    state = state * 1103515245u + 12345u;
    if (k % 4 != 3) img.rgba[k] = static_cast<std::uint8_t>(state >> 24);
  }
  return img;
}

template <class F>
double medianMs(F&& run, int repeats) {
  std::vector<double> ms;
  for (int k = 0; k < repeats; ++k) {
    auto start = Clock::now();
    run();
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::nth_element(ms.begin(), ms.begin() + ms.size() / 2, ms.end());
  return ms[ms.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path source = argc > 1 ? fs::path(argv[1]) : fs::path(QM_DATA_DIR);
  const fs::path dir = fs::temp_directory_path() / "quillmark-bench-editor";
  fs::create_directories(dir);
  std::error_code ec;
  fs::copy_file(source / "photo30.dll", dir / "photo30.dll", fs::copy_options::overwrite_existing,
                ec);
  if (ec) {
    std::fprintf(stderr, "no photo30.dll in %s\n", source.string().c_str());
    return 1;
  }
  qm::formula::ThreadPool pool(2);
  std::printf("%-10s %-4s %10s %10s %7s\n", "filter", "size", "path ms", "render ms", "ratio");
  for (const Size& size : kSizes) {
    const auto shared = std::make_shared<const qm::host::Image>(picture(size.width, size.height));
    const qm::host::Image& copy = *shared;
    const int repeats = size.width > 512 ? 15 : 60;
    for (const Filter& f : kFilters) {
      qm::editor::EditorFields fields = qm::editor::EditorFields::reset();
      fields.boxes = f.boxes;
      fields.sliders.values[0] = f.slider0;
      qm::ff::FFOptions options;
      options.programDir = dir;
      std::vector<std::uint8_t> widget(copy.rgba.size());
      const double path = medianMs(
          [&] {
            qm::ff::FFRecord rec = qm::editor::gather(fields, {});
            rec.formulas = qm::editor::previewFormulas(rec.formulas, false, false).record;
            auto result = qm::editor::runPreview({rec, shared, options, {}}, &pool);
            // The window takes the pixels over without a copy; reading them once stands in.
            if (result.image) widget[0] = result.image->rgba[widget.size() / 2];
          },
          repeats);
      const qm::ff::FFRecord rec = qm::editor::gather(fields, {});
      const double render = medianMs(
          [&] {
            qm::host::Image work = copy;
            qm::host::FilterRun run;
            run.sliders = rec.sliderValues;
            run.pool = &pool;
            qm::host::runFilter(rec.formulas, work, {0, 0, work.width - 1, work.height - 1}, run);
          },
          repeats);
      std::printf("%-10s %-4s %10.2f %10.2f %7.2f\n", f.name, size.name, path, render,
                  path / render);
    }
  }
  fs::remove_all(dir, ec);
  return 0;
}
