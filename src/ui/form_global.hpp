#pragma once

#include <QMainWindow>

#include "model/estado.hpp"

namespace kelm {

// The main window.
class Tform_global : public QMainWindow {
    Q_OBJECT
public:
    explicit Tform_global(Estado& estado, QWidget* parent = nullptr);

private:
    Estado& estado_;
};

}  // namespace kelm
