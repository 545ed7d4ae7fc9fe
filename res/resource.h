// Resource ids of the program.
#pragma once
