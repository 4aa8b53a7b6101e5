#pragma once
// From launch to the state in which tracking records flow in.
namespace skylet::app {

struct Station;

// The main window's load handler: the start-up, then the tracking link.
void Form_Load(Station& st);
void StartUp(Station& st);
void FinishStartUp(Station& st);

}  // namespace skylet::app
