// The commands on downloaded image files. The image is looked for in the folder the target
// folder box shows now, which need not be the folder its search saved it to.
#include "info/imagefiles.h"
#include "mainwindow/mainform.h"
#include "mainwindow/state.h"

namespace mainwindow {

void TForm1::PopOpenTarget1Click(Component*) { info::OpenTargetFolder(Edit_savepath.Text()); }

void TForm1::PopOpenImage1Click(Component*) {
    info::OpenDownloadedImage(Handle(), Edit_savepath.Text(), SelectedImageName);
}

void TForm1::PopImageInfo1Click(Component*) { info::ShowImageFileInfo(Edit_savepath.Text(), SelectedImageName); }

}  // namespace mainwindow
