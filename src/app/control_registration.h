#pragma once
// Registers the program's own control classes with the toolkit's control factory, so that
// layouts built without the main window's callback (the composite panels, the device-list
// entry and the power item) can name them.

void RegisterControlClasses();
