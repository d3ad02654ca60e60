
	 "AmFrp4Ft2tDVI4pbTlCS1gnjf5QP4D""Tck3kAIyhAv5hL+fxjrqNYB6+eCxIrah3cbzV1lMUl7+GdF2MsLMn81nj3fOE61tv1Ya2VkdaqIAM=" 
