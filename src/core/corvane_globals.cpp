// The session-wide globals and their start values.
#include "corvane_state.h"

_parseblk* GLOBAL_PARSEBLOCK = nullptr;
FILE* OutFile = nullptr;
uint32_t max_line_width = 80;
uint32_t minutes_to_retry = 4;
uint32_t command_delay = 10;
uint8_t safe_delete = 1;
int input_source = input_none;
char TempFileName[ss_temp_name_size] = "";
int32_t TotalRegressionDifferences = -1;
