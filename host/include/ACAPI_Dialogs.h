// Add-on API calls about dialogs.
#ifndef VHOST_ACAPI_DIALOGS_H
#define VHOST_ACAPI_DIALOGS_H

#include "APIdefs_Base.h"

// A host user control (pen, fill, surface or layer picker) in a dialog item.
struct API_UCCallbackType {
	Int32 type;      // the host's user-control type value
	short dialogID;  // an open dialog
	short itemID;    // its user-control item
};

#if VHOST_HOST29_NAMES
// Sets up the user control of the item as a picker of the type. APIERR_BADPARS for a null
// record; APIERR_BADID when the dialog is not open or the item is not a user control.
GSErrCode ACAPI_Dialog_SetUserControlCallback(API_UCCallbackType* userControlInfo);
#endif

#endif
