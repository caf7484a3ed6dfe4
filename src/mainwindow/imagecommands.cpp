// The commands on downloaded image files. The image is looked for in the folder the target
// folder box shows now, which need not be the folder its search saved it to.
#include "engine/naming.h"
#include "engine/untrusted.h"
#include "forms/msgbox.h"
#include "mainwindow/imagefiles.h"
#include "mainwindow/mainform.h"
#include "mainwindow/state.h"
#include "platform/text.h"

namespace mainwindow {

void TForm1::PopOpenTarget1Click(Component*) { OpenTargetFolder(Edit_savepath.Text()); }

// A blank name and "none" (a thumbnail without a file) are left to the commands' own boxes.
bool TForm1::ImageNameUsable() {
    const std::string& name = SelectedImageName;
    if (platform::IsBlank(name) || name == "none" || engine::IsPlainFileName(name)) return true;
    forms::ShowBox(forms::BoxKind::Information, "This file name cannot be opened:\r" + name);
    return false;
}

void TForm1::PopOpenImage1Click(Component*) {
    if (ImageNameUsable()) OpenDownloadedImage(Handle(), Edit_savepath.Text(), SelectedImageName);
}

void TForm1::PopImageInfo1Click(Component*) {
    if (ImageNameUsable()) ShowImageFileInfo(Edit_savepath.Text(), SelectedImageName);
}

}  // namespace mainwindow
