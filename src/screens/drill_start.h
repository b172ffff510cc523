#pragma once

namespace warizan { struct FormContext; void startDrill(FormContext& context); }
