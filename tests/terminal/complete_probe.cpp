// Says whether completion offers SHOW for "SH" yet: the terminal test's Tab
// cases run once it does (exit 0) and are skipped while it offers nothing.
#include <algorithm>

#include "corvane_complete.h"
#include "corvane_kwt.h"
#include "corvane_session.h"

int main() {
    _parseblk* pb = ss_session_create();
    ss_completion found = ss_complete_line(Corvane_kwt, pb, "SH", 2);
    bool offers = std::find(found.choices.begin(), found.choices.end(), "SHOW") != found.choices.end();
    ss_session_destroy(pb);
    return offers ? 0 : 1;
}
