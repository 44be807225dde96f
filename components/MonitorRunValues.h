#pragma once

// Deletes the start-up entries "NTLXMON" and "TTLXMON" of the adapter monitor programs from
// "Software\Microsoft\Windows\CurrentVersion\Run".
void DeleteMonitorRunValues();
