// The whole public interface of VexloWebLib in one include.
#pragma once

#include "vexloweb/config/configure_data.hpp"
#include "vexloweb/config/decoding_error.hpp"
#include "vexloweb/config/document_check.hpp"
#include "vexloweb/config/list_records.hpp"
#include "vexloweb/state/app_data_instance.hpp"
#include "vexloweb/version.hpp"
