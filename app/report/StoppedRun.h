#pragma once
// What a run that ends on an error leaves beside the sound file: no array dumps (they serve only
// beside a whole run and hold most of its bytes, so a run stopped by a full disk gives the room
// back), and text reports that each end with one line saying that the run stopped and why.
#include <string>

namespace oxw::report {

class OutputFiles;

// "The analysis stopped before its end: <reason>"
std::string StoppedRunLine(const std::string& reason);

// Closes the run's files, removes its array dumps and appends StoppedRunLine(reason) to each of
// its text files (LOG, level, loudness, pitch, trace and summary files) that exists, on a line of
// its own. Nothing here is reported: the run's own failure is the one the user is shown.
void CloseStoppedRun(OutputFiles& files, const std::string& reason);

}  // namespace oxw::report
