// What is still to be written of regression mode:
// every routine below is a placeholder that a later change replaces with the
// real one (and deletes from here).
//
// - Their dispatch routines say the command is not available and fail it, so
//   that no script mistakes them for success.
#include "corvane_dispatch.h"
#include "corvane_regression.h"

int ss_dr_reg_create(_parseblk*) { return ss_not_available("REGRESSION CAPTURE"); }
int ss_dr_reg_create_exit(_parseblk*) { return ss_not_available("REGRESSION CAPTURE EXIT"); }
int ss_dr_reg_filename(_parseblk*) { return ss_not_available("REGRESSION TEST"); }
