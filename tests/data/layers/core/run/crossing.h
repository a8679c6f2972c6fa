// A core header that reaches into the UI in both ways the layer check must refuse.
#pragma once
#include "mainwindow/window.h"
#include "run/crossing.h"
#include <QString>
#include <QtWidgets/QWidget>
