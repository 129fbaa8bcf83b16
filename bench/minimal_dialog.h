// Resource identifiers of the minimal dialog program, shared by C++ and the
// resource compiler.
#ifndef KOLVEK_BENCH_MINIMAL_DIALOG_H
#define KOLVEK_BENCH_MINIMAL_DIALOG_H

#define IDD_MINIMAL 100
#define IDC_MINIMAL_LIST 1002

#endif
