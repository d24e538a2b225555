// VorlaLib: every public header of the library.
#ifndef VORLA_VORLALIB_H
#define VORLA_VORLALIB_H

#include "vorla/vorla.h"
#include "vorla/VLGraphics.h"
#include "vorla/VLCursor.h"
#include "vorla/VLIcon.h"
#include "vorla/VLWindow.h"
#include "vorla/VLLabel.h"
#include "vorla/VLPushButton.h"
#include "vorla/VLButton.h"
#include "vorla/VLCheckBox.h"
#include "vorla/VLEditBox.h"
#include "vorla/VLProgressBar.h"
#include "vorla/VLSlider.h"
#include "vorla/VLListBox.h"
#include "vorla/VLComboBox.h"
#include "vorla/VLSpin.h"
#include "vorla/VLTab.h"
#include "vorla/VLScrollArea.h"
#include "vorla/VLSpinEditBox.h"
#include "vorla/VLRadioButton.h"
#include "vorla/VLGroup.h"
#include "vorla/VLImage.h"
#include "vorla/VLColor.h"
#include "vorla/VLString.h"
#include "vorla/VLFileCtrl.h"
#include "vorla/VLSystemInfo.h"
#include "vorla/VLThread.h"

#endif
