// Makes the control a description's "control" tag asks for, by its "type" attribute.
#pragma once

class CLxCGUI;
class CLxControl;
class CLxGroup;
class CLxXMLParser;

// The new control (already in the description's list), or null for an unknown type.
CLxControl* LxCreateControl(const char* type, CLxCGUI* gui, CLxGroup* group, CLxXMLParser* reader,
                            const char* tag);
