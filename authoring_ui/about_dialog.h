#pragma once
// The about box (template 177): the program's picture, and links to how to report a fault and
// get support.
#include "dialog.h"
#include "hyper_link.h"

namespace zarvane {

class AboutDialog : public Dialog {
 public:
  AboutDialog();

 protected:
  bool OnInit() override;

 private:
  HyperLink supportEmail_;
  HyperLink site_;
};

}  // namespace zarvane
