#pragma once

// The editor's automation interface on the D-Bus session bus. A client asks the
// factory of the well-known name for an instance; the process that answers then
// gives the name up, so every client gets its own editor process. The instance
// is reached through the unique name of the process that created it.

// Well-known name claimed by a process started with -Automation or -Embedding,
// and the name of its activation file.
inline constexpr char kAutomationService[] = "Brennicor.Application";

// The class factory: CreateInstance() -> o (path of the new instance).
inline constexpr char kFactoryPath[] = "/Brennicor/Application";
inline constexpr char kFactoryInterface[] = "Brennicor.ClassFactory";

// The instance: Release() and nothing else.
inline constexpr char kInstancePath[] = "/Brennicor/Application/Instance";
inline constexpr char kInstanceInterface[] = "Brennicor.Application";

// The factory of this process has already handed out its one instance: ask the
// well-known name again, which reaches another process.
inline constexpr char kErrorFactoryUsed[] = "Brennicor.Error.FactoryUsed";
// Release() from a connection that does not hold the instance.
inline constexpr char kErrorNotHolder[] = "Brennicor.Error.NotHolder";

// The command-line option that the activation file passes.
inline constexpr char kAutomationOption[] = "-Automation";
