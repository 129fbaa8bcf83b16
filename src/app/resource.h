// Resource and control identifiers of KOLVEK.EXE. Read by the resource
// compiler as well as by C++, so it holds nothing but #define lines.
//
// The dialog window has the window class "KolvekWorldEdit" and the title
// "Armada II Karteneditor starten"; a test driver can find it with
// FindWindowW(L"KolvekWorldEdit", nullptr) and reach each control with
// GetDlgItem(dialog, ID) using the numbers below. OK and Cancel carry the
// standard IDOK and IDCANCEL, which is what makes Enter and Esc press them.
// Message boxes are ordinary MessageBoxW windows (class "#32770") owned by
// the dialog.

#ifndef KOLVEK_APP_RESOURCE_H
#define KOLVEK_APP_RESOURCE_H

// Icon (the first icon group, so Explorer shows it for the .exe).
#define IDI_KOLVEK 1
// The picture shown by Image1, 320x240 24-bit.
#define IDB_IMAGE1 101

// Controls of the launcher dialog.
#define IDC_OKBUTTON 1         // IDOK: "OK", default button
#define IDC_CANCELBUTTON 2     // IDCANCEL: "Abbrechen"
#define IDC_ARMADAPATH 1001    // hidden edit with the game's .exe path in capitals
#define IDC_BZNLIST 1002       // list box of the map files
#define IDC_NEWWORLD 1003      // edit with the new map's name, hidden at start
#define IDC_FRAME1 1004        // group box "Karte"
#define IDC_OPTNEW 1005        // radio button "neu erstellen"
#define IDC_OPTEDIT 1006       // radio button "bearbeiten", checked at start
#define IDC_IMAGE1 1009        // the picture; double-click starts the game normally
#define IDC_LABELNEWWORLD 1010 // instructions above the name box, hidden at start

#endif
