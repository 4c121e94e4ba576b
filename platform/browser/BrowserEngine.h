#pragma once

// Settings the browser engine reads once, before the application object
// exists: call first thing in main().
void prepareBrowserEngine();
