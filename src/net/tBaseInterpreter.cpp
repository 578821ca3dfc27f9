#include "tBaseInterpreter.h"

tBaseInterpreter::tBaseInterpreter(QObject* parent) : QObject(parent) {}

tBaseInterpreter::~tBaseInterpreter() = default;
