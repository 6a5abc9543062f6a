#include "app/tform1.h"

TForm1::TForm1(qb::platform::Platform platform, QWidget* parent)
    : QMainWindow(parent)
    , Platform_(std::move(platform)) {}

TForm1::~TForm1() = default;
