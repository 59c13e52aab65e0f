#pragma once
// A Prompter that hands every question on to another one; the command prompters derive from
// it and answer only the one question they own.

#include "core/common/ports.h"

namespace qm {

class ForwardingPrompter : public Prompter {
 public:
  explicit ForwardingPrompter(Prompter& inner) : inner_(inner) {}

  void inform(std::string_view text, std::string_view title) override {
    inner_.inform(text, title);
  }
  void warn(std::string_view text, std::string_view title) override { inner_.warn(text, title); }
  void error(std::string_view text, std::string_view title) override { inner_.error(text, title); }
  Button ask(std::string_view text, std::string_view title, Buttons buttons, Icon icon) override {
    return inner_.ask(text, title, buttons, icon);
  }
  std::optional<std::string> askText(std::string_view caption, std::string_view preset) override {
    return inner_.askText(caption, preset);
  }
  std::optional<FolderChoice> chooseFolder(const FolderRequest& request) override {
    return inner_.chooseFolder(request);
  }
  OverwriteAnswer overwrite(const OverwriteQuestion& question) override {
    return inner_.overwrite(question);
  }

 protected:
  Prompter& inner() { return inner_; }

 private:
  Prompter& inner_;
};

}  // namespace qm
