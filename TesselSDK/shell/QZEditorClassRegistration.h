#pragma once
// The classes the tool table names, registered by name so that the root screen can make them. The
// root screen's class set-up calls it once; its definition lives above the tool libraries
// (TesselSDK/QZEditorClassRegistration.cpp), so that it can name every tool.

void QZRegisterEditorClasses();
