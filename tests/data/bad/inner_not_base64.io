jxgq20W1gNNWnMkWnrpPSA==
